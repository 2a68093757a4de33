#pragma once

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
    // Covers in `picture` every match of `patterns` with `colour` ("#RRGGBB"; black for anything
    // else) grown by `margin` pixels; returns how many were covered. None, with the reason in
    // `error`, when recognition could not be performed.
    static std::optional<int> cover(TextRecognizer& recognizer, RgbaImage& picture,
                                    const std::vector<std::string>& patterns,
                                    const std::string& colour, double margin,
                                    std::string* error = nullptr);
};

} // namespace lumeris
