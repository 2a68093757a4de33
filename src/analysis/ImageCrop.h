#pragma once

#include "base/LoadedImage.h"
#include "base/Rect.h"

#include <optional>

namespace lumeris {

// Cuts a region out of an image at the image's full pixel density.
class ImageCrop {
public:
    // `rect` in points with a lower-left origin; the part outside the image is dropped. The
    // result keeps the source's pixels per point. Nothing when no pixel remains.
    static std::optional<LoadedImage> crop(const LoadedImage& source, const Rect& rect);
};

} // namespace lumeris
