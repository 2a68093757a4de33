#pragma once

#include "base/RgbaImage.h"

#include <cairomm/surface.h>
#include <string>

namespace lumeris {

class SettingsStore;

// The small pictures of the editor's toolbar, drawn with Cairo at the display's scale: the
// background buttons' thumbnails (from the catalogue's colours where no picture exists) and the
// social platforms' badges.
class ToolbarPictures {
public:
    static constexpr int THUMBNAIL_SIZE = 48;
    static constexpr int BADGE_SIZE = 22;

    // Every button but the desktop's (whose picture comes from `desktopThumbnail`), by the
    // background id it stores. The custom button shows the user's colours or picture.
    static Cairo::RefPtr<Cairo::ImageSurface>
    backgroundThumbnail(const std::string& id, const SettingsStore& settings, int scale);
    static Cairo::RefPtr<Cairo::ImageSurface> desktopThumbnail(const RgbaImage& picture, int scale);
    // "twitter", "facebook", … A letter on the platform's colour.
    static Cairo::RefPtr<Cairo::ImageSurface> platformBadge(const std::string& platform, int scale);
};

} // namespace lumeris
