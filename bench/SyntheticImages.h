#pragma once

// Deterministic stand-ins for real pictures, shared by the benchmarks.

#include "base/RgbaImage.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace bench {

inline void put(lumeris::RgbaImage& image, int x, int y, std::uint8_t r, std::uint8_t g,
                std::uint8_t b, std::uint8_t a = 255) {
    std::uint8_t* p = image.at(x, y);
    p[0] = r, p[1] = g, p[2] = b, p[3] = a;
}

// A screenshot of a document window: a white band around lines of dark "text" and a few
// coloured blocks, like a page or an editor.
inline lumeris::RgbaImage screenshot(int width, int height, int band) {
    lumeris::RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            put(image, x, y, 255, 255, 255);
        }
    }
    std::uint32_t seed = 12345;
    for (int y = band; y < height - band; y += 28) {
        seed = seed * 1103515245 + 12345;
        const int length = (width - 2 * band) * (60 + int(seed >> 24) % 40) / 100;
        for (int line = 0; line < 14 && y + line < height - band; ++line) {
            for (int x = band; x < band + length; ++x) {
                // Glyph-like gaps every few pixels.
                if (((x * 7 + line * 3) % 11) < 7) {
                    put(image, x, y + line, 30, 32, 36);
                }
            }
        }
    }
    for (int y = height / 3; y < height / 3 + 120 && y < height - band; ++y) {
        for (int x = width / 2; x < width / 2 + 300 && x < width - band; ++x) {
            put(image, x, y, 66, 133, 244);
        }
    }
    return image;
}

// A composed picture: a diagonal two-colour gradient with a screenshot and a soft shadow in
// the middle, the kind of image the editor exports.
inline lumeris::RgbaImage composition(int width, int height) {
    lumeris::RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double t = double(x + y) / (width + height);
            put(image, x, y, std::uint8_t(0xF1 + (0xB2 - 0xF1) * t),
                std::uint8_t(0x5F + (0x45 - 0x5F) * t), std::uint8_t(0x79 + (0x92 - 0x79) * t));
        }
    }
    const int padding = width / 8;
    const int shotWidth = width - 2 * padding;
    const int shotHeight = height - 2 * padding;
    lumeris::RgbaImage shot = screenshot(shotWidth, shotHeight, 40);
    for (int y = 0; y < shotHeight; ++y) {
        for (int x = 0; x < shotWidth; ++x) {
            const std::uint8_t* p = shot.at(x, y);
            put(image, padding + x, padding + y, p[0], p[1], p[2]);
        }
    }
    for (int y = padding + shotHeight; y < padding + shotHeight + 30 && y < height; ++y) {
        for (int x = padding + 20; x < padding + shotWidth + 20 && x < width; ++x) {
            std::uint8_t* p = image.at(x, y);
            const double shade = 0.6 + 0.4 * (y - padding - shotHeight) / 30.0;
            p[0] = std::uint8_t(p[0] * shade), p[1] = std::uint8_t(p[1] * shade),
            p[2] = std::uint8_t(p[2] * shade);
        }
    }
    return image;
}

// Writes `image` as a PAM file (RGB_ALPHA), which other tools read without decoding work.
inline bool writePam(const lumeris::RgbaImage& image, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << image.width << "\nHEIGHT " << image.height
        << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    out.write(reinterpret_cast<const char*>(image.pixels.data()),
              std::streamsize(image.pixels.size()));
    return bool(out);
}

} // namespace bench
