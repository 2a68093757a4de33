#include "capture/Utils.h"

#include "analysis/BorderColor.h"
#include "analysis/ImageCrop.h"
#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <glib.h>
#include <limits>
#include <memory>

namespace lumeris {

namespace fs = std::filesystem;

namespace {

struct GFreeDeleter {
    void operator()(gchar* text) const { g_free(text); }
};

std::string replaceAll(std::string text, std::string_view token, const std::string& by) {
    for (std::size_t at = text.find(token); at != std::string::npos;
         at = text.find(token, at + by.size())) {
        text.replace(at, token.size(), by);
    }
    return text;
}

bool endsWith(const std::string& text, std::string_view ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool ensureFolder(const fs::path& folder, std::string& error) {
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

// The picture shown when there is neither a live nor a cached desktop picture and the
// built-in one is missing from the installation: the "nice" gradient's darker colour.
LoadedImage plainFallbackPicture() {
    LoadedImage picture;
    picture.image = RgbaImage(16, 10);
    for (std::size_t i = 0; i < picture.image.pixels.size(); i += 4) {
        picture.image.pixels[i] = 0xB2;
        picture.image.pixels[i + 1] = 0x45;
        picture.image.pixels[i + 2] = 0x92;
        picture.image.pixels[i + 3] = 0xFF;
    }
    picture.pointWidth = 16;
    picture.pointHeight = 10;
    return picture;
}

} // namespace

// ---- Folders ----

fs::path Utils::defaultScreenshotDirectory(const StandardFolders& folders) {
    std::error_code code;
    fs::create_directories(folders.archives, code);
    if (code) {
        LOG_ERROR("fail to create archive dir: " + code.message());
    }
    return folders.archives;
}

fs::path Utils::defaultSavePath(const StandardFolders& folders) {
    return folders.desktop;
}

fs::path Utils::archiveDirectory(const SettingsStore& settings) {
    std::string configured = settings.string(SettingKeys::SCREENSHOT_PATH, "");
    // An empty setting would resolve against the working directory; the default folder is
    // where the user expects to find the archive.
    if (configured.empty()) {
        return StandardFolders::fromEnvironment().archives;
    }
    return configured;
}

fs::path Utils::rawDirectory(const SettingsStore& settings) {
    return archiveDirectory(settings) / "raw";
}

fs::path Utils::outputDirectory(const SettingsStore& settings) {
    return archiveDirectory(settings) / "Output";
}

fs::path Utils::cacheDirectoryPath(const SettingsStore& settings) {
    return archiveDirectory(settings) / "Cache";
}

fs::path Utils::desktopCachePath(const SettingsStore& settings) {
    return cacheDirectoryPath(settings) / "desktop.png";
}

fs::path Utils::customBackgroundCachePath(const SettingsStore& settings) {
    return cacheDirectoryPath(settings) / "custom.png";
}

// ---- Names ----

std::string Utils::timestamp(Clock::time_point when) {
    std::time_t seconds = Clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d-%H.%M.%S", &local);
    return text;
}

std::string Utils::uuidString() {
    std::unique_ptr<gchar, GFreeDeleter> uuid(g_uuid_string_random());
    std::string text(uuid.get());
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Utils::generateFileName(const std::optional<std::string>& prefix,
                                    const std::optional<std::string>& suffix,
                                    const std::string& extension, Clock::time_point when) {
    std::string name = FILE_NAME_PREFIX;
    if (prefix) {
        name += *prefix + "-";
    }
    name += timestamp(when);
    if (suffix) {
        name += "-" + *suffix;
    }
    return name + "." + extension;
}

std::string Utils::expandFileNameTemplate(const std::string& fileNameTemplate,
                                          Clock::time_point when) {
    std::string name = replaceAll(fileNameTemplate, DATETIME_TOKEN, timestamp(when));
    if (name.find(UUID_TOKEN) != std::string::npos) {
        name = replaceAll(std::move(name), UUID_TOKEN, uuidString());
    }
    return name;
}

std::string Utils::outputFileName(const SettingsStore& settings, Clock::time_point when) {
    if (!settings.boolValue(SettingKeys::ENABLE_DEFAULT_FILE_NAME, false)) {
        return generateFileName(std::nullopt, std::nullopt, "png", when);
    }
    std::string name = expandFileNameTemplate(
        settings.string(SettingKeys::DEFAULT_FILE_NAME, "Lumeris-{datetime}"), when);
    return endsWith(name, ".png") ? name : name + ".png";
}

// ---- Files ----

void Utils::saveToArchives(const SettingsStore& settings, const RgbaImage& image,
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

void Utils::openDirURLCreateIfNeeded(const fs::path& folder, FileManager& fileManager) {
    std::string error;
    if (!ensureFolder(folder, error)) {
        LOG_DEBUG("Fail to save to history: " + error);
        return;
    }
    fileManager.showItem(folder);
}

std::optional<LoadedImage> Utils::desktopPicture(DesktopPictureSource& source) {
    return source.desktopPicture();
}

LoadedImage Utils::desktopPictureWithFallback(const SettingsStore& settings,
                                              DesktopPictureSource& source) {
    if (std::optional<LoadedImage> live = desktopPicture(source)) {
        std::string error;
        std::vector<std::uint8_t> data;
        if (!ensureFolder(cacheDirectoryPath(settings), error)) {
            LOG_ERROR("unable to write desktop cache: " + error);
        } else if ((data = ImageEncoder::pngData(live->image)).empty()) {
            LOG_ERROR("unable to write desktop cache: the picture could not be encoded");
        } else if (!AtomicFile::writeFileAtomically(desktopCachePath(settings), data, error)) {
            LOG_ERROR("unable to write desktop cache: " + error);
        }
        return *live;
    }
    if (std::optional<LoadedImage> cached = ImageReader::read(desktopCachePath(settings))) {
        return *cached;
    }
    if (std::optional<LoadedImage> builtIn = builtInImage(FALLBACK_DESKTOP_IMAGE)) {
        return *builtIn;
    }
    LOG_ERROR("built-in picture \"{}\" is missing", FALLBACK_DESKTOP_IMAGE);
    return plainFallbackPicture();
}

std::optional<LoadedImage> Utils::builtInImage(const std::string& name) {
    std::error_code code;
    const fs::path folder = resourcesDirectory() / "images";
    for (const char* extension : {".png", ".jpg"}) {
        fs::path candidate = folder / (name + extension);
        if (fs::exists(candidate, code)) {
            return ImageReader::read(candidate);
        }
    }
    return std::nullopt;
}

std::optional<fs::path> Utils::getCachedCustomBackgroundPath(const SettingsStore& settings) {
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
    if (!ensureFolder(cached.parent_path(), error)) {
        LOG_ERROR("fail to copy custom bg to cache path: " + error);
    } else if (!fs::copy_file(chosen, cached, fs::copy_options::overwrite_existing, code)) {
        LOG_ERROR("fail to copy custom bg to cache path: " + code.message());
    }
    return cached;
}

void Utils::clearCutsomBackgroundFile(SettingsStore& settings) {
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

fs::path Utils::resourcesDirectory() {
    std::error_code code;
    const fs::path executable = fs::read_symlink("/proc/self/exe", code);
    if (!code) {
        for (const fs::path& candidate :
             {executable.parent_path().parent_path() / "share" / "lumeris",
              executable.parent_path() / "share" / "lumeris"}) {
            if (fs::is_directory(candidate, code)) {
                return candidate;
            }
        }
    }
    return LUMERIS_SOURCE_RESOURCES;
}

fs::path Utils::rendererDataDirectory() {
    return fs::path(g_get_user_data_dir()) / "lumeris" / "data";
}

std::optional<fs::path> Utils::copyToRendererData(const fs::path& source, const std::string& name,
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

std::optional<ScreenInfo> Utils::screenWithMouse(ScreenLocator& screens) {
    std::optional<std::pair<double, double>> pointer = screens.pointerPosition();
    if (!pointer) {
        return std::nullopt;
    }
    for (const ScreenInfo& screen : screens.screens()) {
        if (screen.frame.contains(pointer->first, pointer->second)) {
            return screen;
        }
    }
    return std::nullopt;
}

// ---- Border colour ----

BorderAnalysis Utils::getBorderColor(const LoadedImage& image) {
    return BorderColor::analyze(image.image, image.pointWidth, image.pointHeight);
}

Rect Utils::balancedCropRect(double width, double height, const EdgeInsets& insets, double scale) {
    const double contentWidth = width - (insets.left + insets.right) / scale;
    const double contentHeight = height - (insets.top + insets.bottom) / scale;
    Rect rect;
    rect.x = std::floor(std::max(insets.left / scale - 10, 0.0));
    // The origin is the lower-left corner, so the bottom inset places it.
    rect.y = std::floor(std::max(insets.bottom / scale - 10, 0.0));
    rect.width = std::floor(std::min(contentWidth + 20, width));
    rect.height = std::floor(std::min(contentHeight + 20, height));
    return rect;
}

std::optional<LoadedImage> Utils::balancedCrop(const LoadedImage& image, const EdgeInsets& insets) {
    return ImageCrop::crop(
        image, balancedCropRect(image.pointWidth, image.pointHeight, insets, image.scale()));
}

std::string Utils::colorHexString(double red, double green, double blue) {
    if (!std::isfinite(red) || !std::isfinite(green) || !std::isfinite(blue)) {
        return "#FFFFFF";
    }
    auto byte = [](double component) {
        return static_cast<unsigned>(std::lround(std::clamp(component, 0.0, 1.0) * 255.0));
    };
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", byte(red), byte(green), byte(blue));
    return text;
}

std::optional<std::uint32_t> Utils::parseHexColor(std::string_view text) {
    std::string rest = replaceAll(std::string(text), "0x", "");
    rest.erase(std::remove(rest.begin(), rest.end(), '#'), rest.end());
    if (std::none_of(rest.begin(), rest.end(), [](unsigned char c) { return std::isxdigit(c); })) {
        LOG_ERROR("Unable to parse color? \"{}\"", std::string(text));
        return std::nullopt;
    }
    // A scanner's reading: leading blanks skipped, digits read from the start, a value too
    // large for 32 bits saturates, no digits at all give 0.
    std::size_t at = 0;
    while (at < rest.size() && std::isspace(static_cast<unsigned char>(rest[at]))) {
        ++at;
    }
    if (rest.compare(at, 2, "0X") == 0) {
        at += 2;
    }
    std::uint64_t value = 0;
    for (; at < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[at])); ++at) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(rest[at])));
        value = value * 16 + static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
        value = std::min<std::uint64_t>(value, std::numeric_limits<std::uint32_t>::max());
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace lumeris
