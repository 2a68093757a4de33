#include "base/ResourceLocator.h"

#include "base/Logger.h"

#include <algorithm>
#include <cstdlib>
#include <glib.h>

namespace lumeris {

namespace {

// Whether `folder` is `tree` or lies inside it, after resolving links and "..".
[[maybe_unused]] bool isWithin(const std::filesystem::path& folder,
                               const std::filesystem::path& tree) {
    std::error_code error;
    const auto inner = std::filesystem::weakly_canonical(folder, error);
    const auto outer = std::filesystem::weakly_canonical(tree, error);
    if (error || inner.empty() || outer.empty()) {
        return false;
    }
    return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first ==
           outer.end();
}

} // namespace

std::vector<std::filesystem::path>
ResourceLocator::candidateFolders(const std::filesystem::path& executableFolder) {
    std::vector<std::filesystem::path> folders;
    if (const char* overridden = std::getenv("LUMERIS_RESOURCES");
        overridden != nullptr && *overridden != '\0') {
        folders.emplace_back(overridden);
    }
    if (!executableFolder.empty()) {
        folders.push_back(executableFolder.parent_path() / "share" / "lumeris");
        folders.push_back(executableFolder / "resources");
    }
#if defined(LUMERIS_SOURCE_RESOURCES) && defined(LUMERIS_BUILD_TREE)
    // Only a program run from its build tree may read the sources: an installed or copied one
    // must work, or fail plainly, wherever it was built.
    if (!executableFolder.empty() && isWithin(executableFolder, LUMERIS_BUILD_TREE)) {
        folders.emplace_back(LUMERIS_SOURCE_RESOURCES);
    }
#endif
    return folders;
}

std::optional<std::filesystem::path>
ResourceLocator::findFolder(const std::vector<std::filesystem::path>& candidates,
                            const std::string& marker) {
    for (const auto& folder : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(folder / marker, error)) {
            return std::filesystem::weakly_canonical(folder, error);
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> ResourceLocator::resourcesFolder() {
    static const std::optional<std::filesystem::path> folder = [] {
        std::error_code error;
        auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
        auto found = findFolder(
            candidateFolders(error ? std::filesystem::path{} : executable.parent_path()));
        if (!found) {
            LOG_ERROR("No resources folder with viewer.html was found");
        }
        return found;
    }();
    return folder;
}

std::filesystem::path ResourceLocator::rendererDataFolder() {
    return std::filesystem::path(g_get_user_data_dir()) / "lumeris" / "data";
}

std::optional<std::filesystem::path> ResourceLocator::resource(const std::string& fileName) {
    auto folder = resourcesFolder();
    if (!folder) {
        return std::nullopt;
    }
    std::error_code error;
    auto path = *folder / fileName;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    return path;
}

} // namespace lumeris
