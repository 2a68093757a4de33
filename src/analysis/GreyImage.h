#pragma once

#include <cstdint>
#include <vector>

namespace lumeris {

// An 8-bit grey image, rows top to bottom without padding. Recognition reads dark text on a light
// ground, so a pixel darker than the middle grey is ink.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    bool inked(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)] < 128;
    }
};

} // namespace lumeris
