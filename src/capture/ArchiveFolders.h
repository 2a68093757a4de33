#pragma once

#include "base/RgbaImage.h"
#include "capture/FileManager.h"
#include "settings/StandardFolders.h"

#include <filesystem>
#include <string>

namespace lumeris {

class SettingsStore;

// The folders screenshots are archived in. Paths are read from the settings at every use, so a
// changed setting applies at once.
class ArchiveFolders {
public:
    // $XDG_DATA_HOME/Lumeris/Archives, created if missing.
    static std::filesystem::path
    defaultScreenshotDirectory(const StandardFolders& folders = StandardFolders::fromEnvironment());
    static std::filesystem::path
    defaultSavePath(const StandardFolders& folders = StandardFolders::fromEnvironment());
    static std::filesystem::path archiveDirectory(const SettingsStore& settings);
    static std::filesystem::path rawDirectory(const SettingsStore& settings);
    static std::filesystem::path outputDirectory(const SettingsStore& settings);
    static std::filesystem::path cacheDirectoryPath(const SettingsStore& settings);

    // Creates `folder` unless it exists. False with `error` set when it cannot.
    static bool ensureFolder(const std::filesystem::path& folder, std::string& error);

    // Writes `image` as PNG into the archive's "Output" folder, replacing a file of that name.
    // `override` is accepted for the callers' sake; an existing file is always replaced.
    static void saveToArchives(const SettingsStore& settings, const RgbaImage& image,
                               const std::string& fileName, bool override);
    static void openDirURLCreateIfNeeded(const std::filesystem::path& folder,
                                         FileManager& fileManager);
};

} // namespace lumeris
