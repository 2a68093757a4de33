#pragma once

#include "analysis/GreyImage.h"
#include "analysis/RecognisedLine.h"

namespace lumeris {

// Repairs what the recognition engine gets wrong about the words of a screen, judged against the
// ink of the image the line was read from.
class TokenRepair {
public:
    // Undoes two ways the engine breaks one token into words: a dropped underscore (put back as a
    // symbol whose box covers the rule) and a space read into a narrow gap (monospaced text after
    // "." or between look-alike glyphs). Words join by `joinsPrevious`.
    static void joinSplitTokens(const GreyImage& ink, RecognisedLine& line);

    // The engine places glyph boxes by estimate, and they can fall short of a word's first or last
    // letter. Stretches every word's outer glyphs over its measured ink and over the ink that
    // continues the word, so a boxed range never leaves the edge of a word uncovered.
    static void stretchWordsToInk(const GreyImage& ink, RecognisedLine& line);
};

} // namespace lumeris
