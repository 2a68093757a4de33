#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

// Finds the application's resources folder: the one holding viewer.html and the files beside it.
// Installed, it is share/lumeris beside the bin folder; a program run from its build tree also
// finds the source tree's resources folder (or a resources folder next to the executable).
class ResourceLocator {
public:
    // The folders tried, in order, for an executable in `executableFolder`. $LUMERIS_RESOURCES,
    // when set, comes first; the source tree only for an executable inside the build tree.
    static std::vector<std::filesystem::path>
    candidateFolders(const std::filesystem::path& executableFolder);

    // The first candidate holding `marker` (web/viewer.html by default).
    static std::optional<std::filesystem::path>
    findFolder(const std::vector<std::filesystem::path>& candidates,
               const std::string& marker = "web/viewer.html");

    // The resources folder of this process, looked up once.
    static std::optional<std::filesystem::path> resourcesFolder();

    // Where background copies go so the renderer can read them: the installed resources folder
    // is not writable, so a per-user data folder stands in for it ($XDG_DATA_HOME/lumeris/data).
    // Documents load with a file: base and may read file URLs, so these resolve by absolute path.
    // Not created here.
    static std::filesystem::path rendererDataFolder();

    // A named resource, when it exists.
    static std::optional<std::filesystem::path> resource(const std::string& fileName);
};

} // namespace lumeris
