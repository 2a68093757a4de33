#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

// What a file chooser asks: its title, where it starts and which files it offers.
struct FileChooserRequest {
    // A named set of glob patterns ("PNG image", {"*.png"}).
    struct Filter {
        std::string name;
        std::vector<std::string> patterns;
    };

    std::string title;
    std::optional<std::filesystem::path> suggestedFolder;
    // The proposed file name when saving.
    std::string suggestedName;
    std::vector<Filter> filters;
    // Opening: hidden files are offered too.
    bool showHidden = false;
};

} // namespace lumeris
