#include "render/SnapshotPixels.h"

#include <cstring>

namespace lumeris {

RgbaImage SnapshotPixels::fromPremultipliedArgb32(const std::uint8_t* data, int width, int height,
                                                  int stride) {
    if (data == nullptr || width <= 0 || height <= 0 || stride < width * 4) {
        return {};
    }
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = data + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            std::uint32_t argb;
            std::memcpy(&argb, row + x * 4, sizeof argb);
            std::uint32_t alpha = argb >> 24;
            std::uint32_t channels[3] = {(argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF};
            std::uint8_t* out = image.at(x, y);
            for (int c = 0; c < 3; ++c) {
                std::uint32_t value = channels[c];
                if (alpha != 0 && alpha != 255) {
                    value = (value * 255 + alpha / 2) / alpha;
                } else if (alpha == 0) {
                    value = 0;
                }
                out[c] = static_cast<std::uint8_t>(value > 255 ? 255 : value);
            }
            out[3] = static_cast<std::uint8_t>(alpha);
        }
    }
    return image;
}

} // namespace lumeris
