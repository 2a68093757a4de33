#pragma once

#include "analysis/TextObservation.h"

#include <string>
#include <unicode/unistr.h>

// A recognised line as a monospaced engine would report it: every UTF-16 unit but spaces gets a
// box `charWidth` pixels wide, starting at pixel (x, y) (lower-left origin) of a
// width × height image.
inline lumeris::TextObservation monospacedLine(const std::string& text, double x, double y,
                                               double charWidth, double charHeight,
                                               double imageWidth, double imageHeight) {
    const icu::UnicodeString units = icu::UnicodeString::fromUTF8(text);
    std::vector<std::optional<lumeris::Rect>> boxes;
    for (int i = 0; i < units.length(); ++i) {
        if (units[i] == u' ') {
            boxes.emplace_back();
        } else {
            boxes.push_back(lumeris::Rect{(x + i * charWidth) / imageWidth, y / imageHeight,
                                          charWidth / imageWidth, charHeight / imageHeight});
        }
    }
    return {lumeris::TextCandidate(text, std::move(boxes))};
}

#include <gmock/gmock.h>
#include <ostream>

namespace lumeris {
inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "{" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height << "}";
}
} // namespace lumeris

// Rectangles after normalising and scaling back carry rounding in the last bits.
MATCHER_P(RectNear, expected, "") {
    const double tolerance = 1e-6;
    return std::abs(arg.x - expected.x) < tolerance && std::abs(arg.y - expected.y) < tolerance &&
           std::abs(arg.width - expected.width) < tolerance &&
           std::abs(arg.height - expected.height) < tolerance;
}
