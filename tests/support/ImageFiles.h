#pragma once

#include "analysis/TextRecognizer.h"
#include "base/RgbaImage.h"
#include "export/ImageEncoder.h"

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
