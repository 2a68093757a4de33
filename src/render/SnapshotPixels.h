#pragma once

#include "base/RgbaImage.h"

#include <cstdint>

namespace lumeris {

// Snapshots arrive as premultiplied 32-bit ARGB in native byte order (the cairo image layout);
// the rest of the program works with straight-alpha RGBA.
class SnapshotPixels {
public:
    static RgbaImage fromPremultipliedArgb32(const std::uint8_t* data, int width, int height,
                                             int stride);
};

} // namespace lumeris
