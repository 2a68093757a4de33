#pragma once

#include "base/EdgeInsets.h"
#include "base/LoadedImage.h"
#include "base/Rect.h"

#include <optional>

namespace lumeris {

// Trims a screenshot's detected border band down to an even margin on every side.
class BalancedCrop {
public:
    // The margin, in points, kept of the band on each side.
    static constexpr double MARGIN = 10;

    // The crop (points, lower-left origin) that leaves at most MARGIN points of the detected
    // band on every side. `insets` in pixels, `scale` in pixels per point.
    static Rect balancedCropRect(double width, double height, const EdgeInsets& insets,
                                 double scale);
    // The screenshot cut to balancedCropRect, at its full pixel density.
    static std::optional<LoadedImage> balancedCrop(const LoadedImage& image,
                                                   const EdgeInsets& insets);
};

} // namespace lumeris
