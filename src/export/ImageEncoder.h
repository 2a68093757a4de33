#pragma once

#include "base/RgbaImage.h"

#include <cstdint>
#include <vector>

namespace lumeris {

// The two file encodings of composed pictures: Adam7-interlaced PNG and progressive JPEG.
// Neither adds metadata. Both return an empty vector on failure.
class ImageEncoder {
public:
    static constexpr double DEFAULT_JPEG_QUALITY = 0.9;

    // Opaque images are written as RGB, others as RGBA; the pixels read back unchanged.
    static std::vector<std::uint8_t> pngData(const RgbaImage& image);
    // The same pixels as a plain PNG, fast to write: for pictures handed to the renderer.
    static std::vector<std::uint8_t> quickPngData(const RgbaImage& image);

    // `quality` from 0 to 1. JPEG has no alpha: transparent areas are flattened onto white.
    static std::vector<std::uint8_t> jpegData(const RgbaImage& image,
                                              double quality = DEFAULT_JPEG_QUALITY);

private:
    static std::vector<std::uint8_t> png(const RgbaImage& image, bool quick);
};

} // namespace lumeris
