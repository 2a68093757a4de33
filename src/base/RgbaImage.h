#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumeris {

// 8-bit RGBA pixels, straight (not premultiplied) alpha, row 0 at the top, rows packed
// (stride = 4 * width).
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    RgbaImage() = default;
    RgbaImage(int width, int height)
        : width(width), height(height),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0) {}

    bool empty() const { return width <= 0 || height <= 0; }

    std::uint8_t* at(int x, int y) {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
    const std::uint8_t* at(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }

    bool operator==(const RgbaImage&) const = default;
};

} // namespace lumeris
