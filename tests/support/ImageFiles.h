#pragma once

#include "analysis/TextRecognizer.h"
#include "base/RgbaImage.h"
#include "export/ImageEncoder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// Writes `image` as a PNG file; returns its path as text.
inline std::string writePng(const lumeris::RgbaImage& image, const std::filesystem::path& path) {
    auto data = lumeris::ImageEncoder::pngData(image);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    return path.string();
}

// An opaque screenshot with no dominant edge colour: busy content, a solid red 200 × 200 square at
// its centre, and a uniform light (235) margin of `margin` pixels.
inline lumeris::RgbaImage screenshot(int width, int height, int margin = 0) {
    lumeris::RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = image.at(x, y);
            const bool inMargin =
                x < margin || y < margin || x >= width - margin || y >= height - margin;
            const bool centre = std::abs(x - width / 2) < 100 && std::abs(y - height / 2) < 100;
            const auto shade = static_cast<std::uint8_t>((x * 7 + y * 13) % 200);
            pixel[0] = inMargin ? 235 : centre ? 255 : static_cast<std::uint8_t>(shade / 2);
            pixel[1] = inMargin ? 235 : centre ? 0 : static_cast<std::uint8_t>(120 + shade / 2);
            pixel[2] = inMargin ? 235 : centre ? 0 : static_cast<std::uint8_t>(200 - shade / 4);
            pixel[3] = 255;
        }
    }
    return image;
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
