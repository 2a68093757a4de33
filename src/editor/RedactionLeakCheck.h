#pragma once

#include "base/LoadedImage.h"
#include "base/Rect.h"
#include "base/RgbaImage.h"

#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class TextRecognizer;

// The last look at a picture before it leaves the program with auto-redaction on: the composed
// picture is read again, and whatever a switched-on rule (or its look-alike) still finds in it is
// covered in the pixels themselves, so that a box the renderer misplaced cannot leak.
class RedactionLeakCheck {
public:
    // What the first reading saw, and the boxes drawn over it (its pixels, rows from the top).
    struct Reading {
        RgbaImage image;
        std::vector<Rect> boxes;
        bool operator==(const Reading&) const = default;
    };

    // `drawnBoxes` in points with a lower-left origin, as the document draws them.
    static Reading reading(LoadedImage read, const std::vector<Rect>& drawnBoxes);

    // Covers in `picture` every match of `patterns` with `colour` ("#RRGGBB"; black for anything
    // else) grown by `margin` pixels; returns how many were covered. None, with the reason in
    // `error`, when recognition could not be performed. With `first`, where the picture shows
    // its image pixel for pixel and every box in place, only the rows that differ otherwise
    // (corners, padding, the watermark) are read: the rest would read as it did the first time.
    static std::optional<int> cover(TextRecognizer& recognizer, RgbaImage& picture,
                                    const std::vector<std::string>& patterns,
                                    const std::string& colour, double margin,
                                    std::string* error = nullptr, const Reading* first = nullptr);
};

} // namespace lumeris
