#include "base/ResourceLocator.h"

#include "base/Logger.h"

#include <cstdlib>
#include <glib.h>

namespace lumeris {

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
#ifdef LUMERIS_SOURCE_RESOURCES
    folders.emplace_back(LUMERIS_SOURCE_RESOURCES);
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
