#include "analysis/ImageCrop.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumeris {

std::optional<LoadedImage> ImageCrop::crop(const LoadedImage& source, const Rect& rect) {
    const RgbaImage& image = source.image;
    const double scale = source.scale();
    if (image.empty() || !(scale > 0) || !std::isfinite(rect.x) || !std::isfinite(rect.y) ||
        !std::isfinite(rect.width) || !std::isfinite(rect.height)) {
        return std::nullopt;
    }
    // Points with y up to pixels with row 0 at the top.
    const double topPoints = source.pointHeight - (rect.y + rect.height);
    const long left = std::lround(std::max(rect.x, 0.0) * scale);
    const long top = std::lround(std::max(topPoints, 0.0) * scale);
    const long right = std::lround(std::min(rect.x + rect.width, source.pointWidth) * scale);
    const long bottom =
        std::lround(std::min(source.pointHeight - rect.y, source.pointHeight) * scale);
    const long x0 = std::clamp(left, 0L, long(image.width));
    const long y0 = std::clamp(top, 0L, long(image.height));
    const long x1 = std::clamp(right, 0L, long(image.width));
    const long y1 = std::clamp(bottom, 0L, long(image.height));
    if (x1 <= x0 || y1 <= y0) {
        return std::nullopt;
    }

    LoadedImage result;
    result.image = RgbaImage(int(x1 - x0), int(y1 - y0));
    const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * 4;
    for (long y = y0; y < y1; ++y) {
        std::memcpy(result.image.at(0, int(y - y0)), image.at(int(x0), int(y)), rowBytes);
    }
    result.pointWidth = result.image.width / scale;
    result.pointHeight = result.image.height / scale;
    return result;
}

} // namespace lumeris
