#pragma once

#include "base/LoadedImage.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

// Background pictures placed where the renderer may read them, for one headless run or one
// application's editors. Named per owner and process (`owner` "render" or "editor") so parallel
// runs and a running editor never overwrite each other's pictures; removed with this object.
// Safe to use from several threads.
class RendererCopies {
public:
    explicit RendererCopies(const std::string& owner);
    ~RendererCopies();
    RendererCopies(const RendererCopies&) = delete;
    RendererCopies& operator=(const RendererCopies&) = delete;

    // A copy of the file `source`.
    std::optional<std::filesystem::path> copy(const std::filesystem::path& source,
                                              const std::string& name);
    // The picture written as a quickly compressed PNG.
    std::optional<std::filesystem::path> write(const LoadedImage& picture, const std::string& name);
    // Removes a copy before this object goes, once the renderer has read it.
    void remove(const std::filesystem::path& copy);

private:
    std::string prefix_;
    std::mutex mutex_;
    std::vector<std::filesystem::path> copies_;
};

} // namespace lumeris
