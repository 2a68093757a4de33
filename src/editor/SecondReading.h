#pragma once

#include "analysis/TextObservation.h"
#include "base/Rect.h"
#include "base/RgbaImage.h"
#include "editor/RedactionRules.h"

#include <vector>

namespace lumeris {

class TextRecognizer;

// Redaction for the lines the first reading got wrong. A line that holds a switched-on rule's
// shape (its text as the engine tends to misread it) but no match of its pattern is cut out,
// enlarged and contrast-stretched to dark on light, and read again; what the second reading finds
// of the pattern is covered, and so is the look-alike text itself: a string that looks like a
// card number is hidden rather than trusted to be something else.
class SecondReading {
public:
    // How much the line is enlarged before it is read again.
    static constexpr int ENLARGEMENT = 2;

    // Redaction rectangles, in pixels of `bitmap` with a lower-left origin, for the lines of
    // `observations` (read from `bitmap`) that need them under `rules`.
    static std::vector<Rect> rects(TextRecognizer& recognizer, const RgbaImage& bitmap,
                                   const std::vector<TextObservation>& observations,
                                   const std::vector<const RedactionRule*>& rules);

    // The shape matches of `rule` in `text` that the rule's pattern does not also match, as
    // UTF-16 ranges [start, end).
    static std::vector<std::pair<int, int>> unmatchedShapes(const std::string& text,
                                                            const RedactionRule& rule);

    // The area `topLeft` (pixels, top-left origin) of `bitmap`, enlarged `factor` times, in
    // grey from dark text to a light ground whatever the theme, its contrast stretched.
    static RgbaImage prepared(const RgbaImage& bitmap, const Rect& topLeft, int factor);
};

} // namespace lumeris
