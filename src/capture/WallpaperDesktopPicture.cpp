#include "capture/WallpaperDesktopPicture.h"

#include "base/GObjectPtr.h"
#include "base/Logger.h"
#include "export/ImageReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gdk-pixbuf/gdk-pixbuf.h>

namespace lumeris {

WallpaperDesktopPicture::WallpaperDesktopPicture(ScreenLocator& screens, Locate locate)
    : screens_(screens), locate_(std::move(locate)) {}

std::optional<RgbaImage> WallpaperDesktopPicture::zoomToFill(const RgbaImage& image, int width,
                                                             int height) {
    if (image.empty() || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    // The source region with the target's aspect ratio, centred.
    const double targetRatio = double(width) / height;
    int cropWidth = image.width;
    int cropHeight = image.height;
    if (double(image.width) / image.height > targetRatio) {
        cropWidth = std::max(1, int(std::lround(image.height * targetRatio)));
    } else {
        cropHeight = std::max(1, int(std::lround(image.width / targetRatio)));
    }
    const int left = (image.width - cropWidth) / 2;
    const int top = (image.height - cropHeight) / 2;

    // GdkPixbuf only reads the buffer here; the pixels stay owned by `image`.
    GObjectPtr<GdkPixbuf> source(gdk_pixbuf_new_from_data(image.at(left, top), GDK_COLORSPACE_RGB,
                                                          TRUE, 8, cropWidth, cropHeight,
                                                          image.width * 4, nullptr, nullptr));
    if (!source) {
        return std::nullopt;
    }
    GObjectPtr<GdkPixbuf> scaled(
        gdk_pixbuf_scale_simple(source.get(), width, height, GDK_INTERP_BILINEAR));
    if (!scaled) {
        return std::nullopt;
    }
    RgbaImage result(width, height);
    const int stride = gdk_pixbuf_get_rowstride(scaled.get());
    const guchar* pixels = gdk_pixbuf_read_pixels(scaled.get());
    for (int y = 0; y < height; ++y) {
        std::memcpy(result.at(0, y), pixels + static_cast<std::size_t>(y) * stride,
                    static_cast<std::size_t>(width) * 4);
    }
    return result;
}

std::optional<LoadedImage> WallpaperDesktopPicture::desktopPicture() {
    std::optional<ScreenInfo> screen = screens_.primaryScreen();
    if (!screen) {
        std::vector<ScreenInfo> all = screens_.screens();
        if (all.empty()) {
            return std::nullopt;
        }
        screen = all.front();
    }
    std::optional<std::filesystem::path> path = locate_();
    if (!path) {
        return std::nullopt;
    }
    std::string error;
    std::optional<LoadedImage> wallpaper = ImageReader::read(*path, &error);
    if (!wallpaper) {
        LOG_DEBUG("cannot read wallpaper {}: {}", path->string(), error);
        return std::nullopt;
    }
    const double scale = std::max(screen->scaleFactor, 1.0);
    const int width = int(std::lround(screen->frame.width * scale));
    const int height = int(std::lround(screen->frame.height * scale));
    std::optional<RgbaImage> filled = zoomToFill(wallpaper->image, width, height);
    if (!filled) {
        return std::nullopt;
    }
    return LoadedImage{std::move(*filled), screen->frame.width, screen->frame.height};
}

} // namespace lumeris
