#pragma once

#include "base/LoadedImage.h"

#include <optional>

namespace lumeris {

// Where the current desktop picture comes from.
class DesktopPictureSource {
public:
    virtual ~DesktopPictureSource() = default;

    // The picture as the main screen shows it, sized in points to that screen, or nothing.
    virtual std::optional<LoadedImage> desktopPicture() = 0;
};

} // namespace lumeris
