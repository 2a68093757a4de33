#include "capture/ArchiveFolders.h"

#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "export/ImageEncoder.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

namespace fs = std::filesystem;

fs::path ArchiveFolders::defaultScreenshotDirectory(const StandardFolders& folders) {
    std::error_code code;
    fs::create_directories(folders.archives, code);
    if (code) {
        LOG_ERROR("fail to create archive dir: " + code.message());
    }
    return folders.archives;
}

fs::path ArchiveFolders::defaultSavePath(const StandardFolders& folders) {
    return folders.desktop;
}

fs::path ArchiveFolders::archiveDirectory(const SettingsStore& settings) {
    std::string configured = settings.string(SettingKeys::SCREENSHOT_PATH, "");
    // An empty setting would resolve against the working directory; the default folder is
    // where the user expects to find the archive.
    if (configured.empty()) {
        return StandardFolders::fromEnvironment().archives;
    }
    return configured;
}

fs::path ArchiveFolders::rawDirectory(const SettingsStore& settings) {
    return archiveDirectory(settings) / "raw";
}

fs::path ArchiveFolders::outputDirectory(const SettingsStore& settings) {
    return archiveDirectory(settings) / "Output";
}

fs::path ArchiveFolders::cacheDirectoryPath(const SettingsStore& settings) {
    return archiveDirectory(settings) / "Cache";
}

bool ArchiveFolders::ensureFolder(const fs::path& folder, std::string& error) {
    std::error_code code;
    if (fs::exists(folder, code)) {
        return true;
    }
    fs::create_directories(folder, code);
    if (code) {
        error = code.message();
        return false;
    }
    return true;
}

void ArchiveFolders::saveToArchives(const SettingsStore& settings, const RgbaImage& image,
                                    const std::string& fileName, bool /*override*/) {
    const fs::path folder = outputDirectory(settings);
    std::string error;
    if (!ensureFolder(folder, error)) {
        LOG_ERROR("fail to create output dir: " + error);
    }
    std::vector<std::uint8_t> data = ImageEncoder::pngData(image);
    if (data.empty()) {
        return;
    }
    if (!AtomicFile::writeFileAtomically(folder / fileName, data, error)) {
        LOG_ERROR("fail to write archive: " + error);
    }
}

void ArchiveFolders::openDirURLCreateIfNeeded(const fs::path& folder, FileManager& fileManager) {
    std::string error;
    if (!ensureFolder(folder, error)) {
        LOG_DEBUG("Fail to save to history: " + error);
        return;
    }
    fileManager.showItem(folder);
}

} // namespace lumeris
