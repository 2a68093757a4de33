#include "capture/CustomBackgroundCache.h"

#include "base/Logger.h"
#include "capture/ArchiveFolders.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

namespace fs = std::filesystem;

fs::path CustomBackgroundCache::customBackgroundCachePath(const SettingsStore& settings) {
    return ArchiveFolders::cacheDirectoryPath(settings) / "custom.png";
}

std::optional<fs::path>
CustomBackgroundCache::getCachedCustomBackgroundPath(const SettingsStore& settings) {
    const fs::path cached = customBackgroundCachePath(settings);
    std::error_code code;
    if (fs::exists(cached, code)) {
        return cached;
    }
    const fs::path chosen = settings.string(SettingKeys::CUSTOM_BACKGROUND_FILE_PATH, "");
    if (chosen.empty() || !fs::exists(chosen, code)) {
        return std::nullopt;
    }
    std::string error;
    if (!ArchiveFolders::ensureFolder(cached.parent_path(), error)) {
        LOG_ERROR("fail to copy custom bg to cache path: " + error);
    } else if (!fs::copy_file(chosen, cached, fs::copy_options::overwrite_existing, code)) {
        LOG_ERROR("fail to copy custom bg to cache path: " + code.message());
    }
    return cached;
}

void CustomBackgroundCache::clearCutsomBackgroundFile(SettingsStore& settings) {
    const fs::path cached = customBackgroundCachePath(settings);
    std::error_code code;
    if (fs::exists(cached, code)) {
        fs::remove(cached, code);
        if (code) {
            LOG_ERROR("fail to delete " + cached.string() + ": " + code.message());
        }
    }
    settings.set(SettingKeys::CUSTOM_PATH_CACHE, std::string());
}

std::optional<fs::path> CustomBackgroundCache::copyToRendererData(const fs::path& source,
                                                                  const std::string& name,
                                                                  const fs::path& folder) {
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    const fs::path target = folder / (RENDERER_COPY_PREFIX + name);
    if (fs::exists(target, ignored)) {
        fs::remove(target, ignored);
    }
    std::error_code code;
    if (!fs::copy_file(source, target, fs::copy_options::overwrite_existing, code)) {
        LOG_DEBUG("cannot copy {} for the renderer: {}", source.string(), code.message());
        return std::nullopt;
    }
    return target;
}

} // namespace lumeris
