#include "capture/RawBackup.h"

#include "base/Logger.h"
#include "capture/ArchiveFolders.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

namespace fs = std::filesystem;

std::optional<fs::path> RawBackup::makeRawBackup(const SettingsStore& settings,
                                                 const fs::path& file) {
    if (!settings.boolValue(SettingKeys::SAVE_SCREENSHOT, true)) {
        LOG_DEBUG("settings.save-screenshot is disabled");
        return std::nullopt;
    }
    const fs::path folder = ArchiveFolders::rawDirectory(settings);
    LOG_DEBUG("save raw backup: {}", folder.string());
    std::string error;
    if (!ArchiveFolders::ensureFolder(folder, error)) {
        LOG_ERROR("cannot create backup dir for raw screenshot: {}", error);
        return std::nullopt;
    }
    const fs::path copy = folder / file.filename();
    std::error_code copyError;
    if (!fs::copy_file(file, copy, fs::copy_options::none, copyError)) {
        LOG_ERROR("cannot copy backup raw screenshot: {}", copyError.message());
        return std::nullopt;
    }
    return copy;
}

} // namespace lumeris
