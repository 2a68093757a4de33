#pragma once

#include <filesystem>

namespace lumeris {

// The folders the registered defaults point at.
struct StandardFolders {
    std::filesystem::path archives; // $XDG_DATA_HOME/Lumeris/Archives
    std::filesystem::path desktop;  // the XDG Desktop folder

    static StandardFolders fromEnvironment();
};

} // namespace lumeris
