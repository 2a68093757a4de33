#pragma once

#include "analysis/ImageSize.h"
#include "analysis/TextRecognizer.h"
#include "base/RgbaImage.h"
#include "export/ImageEncoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

inline void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
}

// Writes `image` as a PNG file; returns its path as text.
inline std::string writePng(const lumeris::RgbaImage& image, const std::filesystem::path& path) {
    writeFile(path, lumeris::ImageEncoder::pngData(image));
    return path.string();
}

inline std::pair<int, int> sizeOf(const lumeris::RgbaImage& image) {
    return {image.width, image.height};
}
// A canvas in whole pixels, as a snapshot of it comes out.
inline std::pair<int, int> sizeOf(const lumeris::ImageSize& canvas) {
    return {static_cast<int>(std::lround(canvas.bgWidth)),
            static_cast<int>(std::lround(canvas.bgHeight))};
}

using Rgba = std::array<std::uint8_t, 4>;

// Channel values from ints, as pixel functions compute them.
inline Rgba rgba(int red, int green, int blue, int alpha = 255) {
    return {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
            static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(alpha)};
}
inline Rgba grey(int value) {
    return rgba(value, value, value);
}

// A `width` × `height` image whose pixel (x, y) is `colour(x, y)`.
template <typename Colour> lumeris::RgbaImage painted(int width, int height, const Colour& colour) {
    lumeris::RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::ranges::copy(colour(x, y), image.at(x, y));
        }
    }
    return image;
}

// Paints columns [left, right) of rows [top, bottom) of `image` with `colour`.
inline void fillRect(lumeris::RgbaImage& image, int left, int top, int right, int bottom,
                     const Rgba& colour) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            std::ranges::copy(colour, image.at(x, y));
        }
    }
}

// An opaque screenshot with no dominant edge colour: busy content, a solid red 200 × 200 square at
// its centre, and a uniform light (235) margin of `margin` pixels.
inline lumeris::RgbaImage screenshot(int width, int height, int margin = 0) {
    return painted(width, height, [&](int x, int y) {
        if (x < margin || y < margin || x >= width - margin || y >= height - margin) {
            return grey(235);
        }
        if (std::abs(x - width / 2) < 100 && std::abs(y - height / 2) < 100) {
            return rgba(255, 0, 0);
        }
        const int shade = (x * 7 + y * 13) % 200;
        return rgba(shade / 2, 120 + shade / 2, 200 - shade / 4);
    });
}

// Every recognised line of `image`, one per line; empty when recognition failed.
inline std::string recognizedText(lumeris::TextRecognizer& recognizer,
                                  const lumeris::RgbaImage& image) {
    std::string text;
    for (const auto& line : recognizer.recognize(image).observations) {
        if (line.topCandidate) {
            text += line.topCandidate->string() + "\n";
        }
    }
    return text;
}
