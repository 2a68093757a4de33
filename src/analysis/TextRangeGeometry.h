#pragma once

#include "analysis/RecognisedLine.h"
#include "analysis/TextObservation.h"

namespace lumeris {

// Where each UTF-16 unit of a recognised line lies, so that any range of the line's text (as the
// regex engine reports matches) maps to a box.
class TextRangeGeometry {
public:
    // The line's text, words separated by one space unless joined, with a box for every unit:
    // a symbol's box for each of its units, none for the spaces. Boxes become fractions of an
    // `imageWidth` × `imageHeight` image with a lower-left origin, and span at least the line's
    // height, so a range of characters is boxed like a run of text, not like ink.
    static TextCandidate candidate(const RecognisedLine& line, double imageWidth,
                                   double imageHeight);
};

} // namespace lumeris
