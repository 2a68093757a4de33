#include "analysis/BalancedCrop.h"

#include "analysis/ImageCrop.h"

#include <algorithm>
#include <cmath>

namespace lumeris {

Rect BalancedCrop::balancedCropRect(double width, double height, const EdgeInsets& insets,
                                    double scale) {
    const double contentWidth = width - (insets.left + insets.right) / scale;
    const double contentHeight = height - (insets.top + insets.bottom) / scale;
    Rect rect;
    rect.x = std::floor(std::max(insets.left / scale - MARGIN, 0.0));
    // The origin is the lower-left corner, so the bottom inset places it.
    rect.y = std::floor(std::max(insets.bottom / scale - MARGIN, 0.0));
    rect.width = std::floor(std::min(contentWidth + 2 * MARGIN, width));
    rect.height = std::floor(std::min(contentHeight + 2 * MARGIN, height));
    return rect;
}

std::optional<LoadedImage> BalancedCrop::balancedCrop(const LoadedImage& image,
                                                      const EdgeInsets& insets) {
    return ImageCrop::crop(
        image, balancedCropRect(image.pointWidth, image.pointHeight, insets, image.scale()));
}

} // namespace lumeris
