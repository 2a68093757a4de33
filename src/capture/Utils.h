#pragma once

#include "analysis/BorderAnalysis.h"
#include "base/EdgeInsets.h"
#include "base/LoadedImage.h"
#include "base/Rect.h"
#include "base/RgbaImage.h"
#include "capture/DesktopPictureSource.h"
#include "capture/FileManager.h"
#include "capture/ScreenInfo.h"
#include "capture/ScreenLocator.h"
#include "settings/SettingKeys.h"
#include "settings/StandardFolders.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumeris {

class SettingsStore;

// The program's places on disk, the names it gives files, the desktop picture and background
// caches, and the border-colour helpers the editor uses around a loaded screenshot.
// Folder paths are read from the settings at every use, so a changed setting applies at once.
class Utils {
public:
    using Clock = std::chrono::system_clock;

    static constexpr const char* FILE_NAME_PREFIX = "Lumeris-";
    static constexpr const char* DATETIME_TOKEN = "{datetime}";
    static constexpr const char* UUID_TOKEN = "{uuid}";
    static constexpr const char* FILE_NAME_TEMPLATE_HELP =
        "Available variables:\n\n{datetime} - Current date and time\n{uuid} - Unique random "
        "UUID string";
    static constexpr const char* RENDERER_COPY_PREFIX = "lumeris-custom-background-";
    static constexpr const char* FALLBACK_DESKTOP_IMAGE = "nice";

    // ---- Folders ----
    // $XDG_DATA_HOME/Lumeris/Archives, created if missing.
    static std::filesystem::path
    defaultScreenshotDirectory(const StandardFolders& folders = StandardFolders::fromEnvironment());
    static std::filesystem::path
    defaultSavePath(const StandardFolders& folders = StandardFolders::fromEnvironment());
    static std::filesystem::path archiveDirectory(const SettingsStore& settings);
    static std::filesystem::path rawDirectory(const SettingsStore& settings);
    static std::filesystem::path outputDirectory(const SettingsStore& settings);
    static std::filesystem::path cacheDirectoryPath(const SettingsStore& settings);
    static std::filesystem::path desktopCachePath(const SettingsStore& settings);
    static std::filesystem::path customBackgroundCachePath(const SettingsStore& settings);

    // ---- Names ----
    // Local time as "yyyy-MM-dd-HH.mm.ss".
    static std::string timestamp(Clock::time_point when = Clock::now());
    // A fresh random UUID, upper-case and hyphenated.
    static std::string uuidString();
    // "Lumeris-" [prefix "-"] timestamp ["-" suffix] "." extension
    static std::string generateFileName(const std::optional<std::string>& prefix,
                                        const std::optional<std::string>& suffix,
                                        const std::string& extension,
                                        Clock::time_point when = Clock::now());
    // Replaces every "{datetime}" with the timestamp and every "{uuid}" with one UUID; any other
    // text stays as typed.
    static std::string expandFileNameTemplate(const std::string& fileNameTemplate,
                                              Clock::time_point when = Clock::now());
    // The name an editor gives its output: the user's template (with ".png" appended unless it
    // ends so) when SettingKeys::ENABLE_DEFAULT_FILE_NAME is on, else a generated name.
    static std::string outputFileName(const SettingsStore& settings,
                                      Clock::time_point when = Clock::now());

    // ---- Files ----
    // Writes `image` as PNG into the archive's "Output" folder, replacing a file of that name.
    // `override` is accepted for the callers' sake; an existing file is always replaced.
    static void saveToArchives(const SettingsStore& settings, const RgbaImage& image,
                               const std::string& fileName, bool override);
    static void openDirURLCreateIfNeeded(const std::filesystem::path& folder,
                                         FileManager& fileManager);

    static std::optional<LoadedImage> desktopPicture(DesktopPictureSource& source);
    // The live desktop picture (cached as "desktop.png"), else the cached one, else the
    // built-in "nice" picture. Never empty.
    static LoadedImage desktopPictureWithFallback(const SettingsStore& settings,
                                                  DesktopPictureSource& source);
    // A picture shipped in the resources' "images" folder, by name without extension.
    static std::optional<LoadedImage> builtInImage(const std::string& name);

    static std::optional<std::filesystem::path>
    getCachedCustomBackgroundPath(const SettingsStore& settings);
    static void clearCutsomBackgroundFile(SettingsStore& settings);

    // share/lumeris beside the executable when installed, else the source tree's resources.
    static std::filesystem::path resourcesDirectory();
    // Where background copies are placed for the renderer: the resources themselves are not
    // writable once installed, so a per-user data folder stands in for "resources/data".
    static std::filesystem::path rendererDataDirectory();
    static std::optional<std::filesystem::path>
    copyToRendererData(const std::filesystem::path& source, const std::string& name,
                       const std::filesystem::path& folder = rendererDataDirectory());

    // The first screen, in the display server's order, whose frame holds the pointer.
    static std::optional<ScreenInfo> screenWithMouse(ScreenLocator& screens);

    // ---- Border colour ----
    static BorderAnalysis getBorderColor(const LoadedImage& image);
    // The crop (points, lower-left origin) that leaves a margin of at most 10 points of the
    // detected band on every side. `insets` in pixels, `scale` in pixels per point.
    static Rect balancedCropRect(double width, double height, const EdgeInsets& insets,
                                 double scale);
    // The screenshot cut to balancedCropRect, at its full pixel density.
    static std::optional<LoadedImage> balancedCrop(const LoadedImage& image,
                                                   const EdgeInsets& insets);
    // Components from 0 to 1 as "#RRGGBB"; "#FFFFFF" when they are not numbers.
    static std::string colorHexString(double red, double green, double blue);
    // "#RRGGBB" or "0xRRGGBB" to 0xRRGGBB. A text without any hexadecimal digit is refused
    // (and logged) rather than read as black.
    static std::optional<std::uint32_t> parseHexColor(std::string_view text);
};

} // namespace lumeris
