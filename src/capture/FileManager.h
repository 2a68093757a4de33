#pragma once

#include <filesystem>

namespace lumeris {

// The desktop's file manager.
class FileManager {
public:
    virtual ~FileManager() = default;

    // Opens a file manager window with `path` selected.
    virtual void showItem(const std::filesystem::path& path) = 0;
};

} // namespace lumeris
