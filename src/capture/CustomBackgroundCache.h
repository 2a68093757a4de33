#pragma once

#include "base/ResourceLocator.h"

#include <filesystem>
#include <optional>
#include <string>

namespace lumeris {

class SettingsStore;

// The user's own background picture: a copy kept in the archive's cache so that it outlives
// the chosen file, and the copies placed where the renderer may read them.
class CustomBackgroundCache {
public:
    static constexpr const char* RENDERER_COPY_PREFIX = "lumeris-custom-background-";

    // The archive's cached copy, "Cache/custom.png".
    static std::filesystem::path customBackgroundCachePath(const SettingsStore& settings);
    // The cached copy, made from the chosen file when there is none yet. Nothing when neither
    // exists.
    static std::optional<std::filesystem::path>
    getCachedCustomBackgroundPath(const SettingsStore& settings);
    static void clearCutsomBackgroundFile(SettingsStore& settings);

    // `source` copied into `folder` as RENDERER_COPY_PREFIX + `name`, replacing an earlier copy.
    static std::optional<std::filesystem::path>
    copyToRendererData(const std::filesystem::path& source, const std::string& name,
                       const std::filesystem::path& folder = ResourceLocator::rendererDataFolder());
};

} // namespace lumeris
