#pragma once

#include "ui/FileChooserRequest.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace lumeris {

// The desktop's open and save dialogs, without blocking: `chosen` runs later with the file, or
// with nothing when the user cancels.
class FileChooser {
public:
    using Chosen = std::function<void(std::optional<std::filesystem::path>)>;
    using ChosenFiles = std::function<void(std::vector<std::filesystem::path>)>;

    virtual ~FileChooser() = default;
    virtual void chooseFileToOpen(const FileChooserRequest& request, Chosen chosen) = 0;
    // Several files at once where the dialog allows it; none when the user cancels.
    virtual void chooseFilesToOpen(const FileChooserRequest& request, ChosenFiles chosen) {
        chooseFileToOpen(request, [chosen = std::move(chosen)](auto file) {
            chosen(file ? std::vector{*file} : std::vector<std::filesystem::path>{});
        });
    }
    // Asks before replacing an existing file.
    virtual void chooseFileToSave(const FileChooserRequest& request, Chosen chosen) = 0;
};

} // namespace lumeris
