#include "capture/DesktopPicture.h"

#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "base/ResourceLocator.h"
#include "capture/ArchiveFolders.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"

namespace lumeris {

namespace fs = std::filesystem;

namespace {

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

fs::path DesktopPicture::desktopCachePath(const SettingsStore& settings) {
    return ArchiveFolders::cacheDirectoryPath(settings) / "desktop.png";
}

std::optional<LoadedImage> DesktopPicture::desktopPicture(DesktopPictureSource& source) {
    return source.desktopPicture();
}

LoadedImage DesktopPicture::desktopPictureWithFallback(const SettingsStore& settings,
                                                       DesktopPictureSource& source) {
    if (std::optional<LoadedImage> live = desktopPicture(source)) {
        std::string error;
        std::vector<std::uint8_t> data;
        if (!ArchiveFolders::ensureFolder(ArchiveFolders::cacheDirectoryPath(settings), error)) {
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

std::optional<LoadedImage> DesktopPicture::builtInImage(const std::string& name) {
    for (const char* extension : {".png", ".jpg"}) {
        if (auto found = ResourceLocator::resource("images/" + name + extension)) {
            return ImageReader::read(*found);
        }
    }
    return std::nullopt;
}

} // namespace lumeris
