#pragma once

#include "capture/DesktopPictureSource.h"
#include "capture/ScreenLocator.h"
#include "capture/WallpaperLocator.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace lumeris {

// The desktop picture as the main screen shows it: the configured wallpaper file, zoomed to
// fill the primary monitor the way desktops draw it, at the monitor's pixel density.
class WallpaperDesktopPicture : public DesktopPictureSource {
public:
    using Locate = std::function<std::optional<std::filesystem::path>()>;

    explicit WallpaperDesktopPicture(ScreenLocator& screens,
                                     Locate locate = &WallpaperLocator::configuredWallpaper);

    std::optional<LoadedImage> desktopPicture() override;

    // `image` scaled to cover `width` × `height` pixels, centred, the overflow cut off.
    static std::optional<RgbaImage> zoomToFill(const RgbaImage& image, int width, int height);

private:
    ScreenLocator& screens_;
    Locate locate_;
};

} // namespace lumeris
