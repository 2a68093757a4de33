#include "analysis/TokenRepair.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace lumeris {

namespace {

// Whether the gap between two words of a line holds a rule along the bottom of the line: an
// underscore, which the engine tends to drop, splitting identifiers and addresses in two. The
// engine's glyph boxes are approximate, so the search reaches a little into both words; a rule is
// a run of columns whose only ink is a thin stroke low in the line, often below the line's box,
// which ends with the descenders. Letters never qualify: their columns reach the middle of the
// line. A rule standing for a space runs through the middle of the gap (`through`); the foot of a
// "1" beside a gap stays on its own side.
bool gapHoldsUnderscore(const GreyImage& ink, const RecognisedLine& line, int left, int right,
                        std::optional<int> through = std::nullopt) {
    const int lineHeight = line.bottom - line.top;
    const int from = std::max(0, left - lineHeight / 4);
    const int to = std::min(ink.width, right + lineHeight / 4);
    const int bandTop = line.top + lineHeight * 6 / 10;
    const int bottom = std::min(ink.height - 1, line.bottom + lineHeight / 4);
    const int thickest = std::max(2, lineHeight / 8);
    const int shortest = std::max(3, lineHeight / 5);
    int run = 0;
    for (int x = from; x < to; ++x) {
        int inkRows = 0;
        int highest = bottom + 1;
        for (int y = std::max(0, line.top); y <= bottom; ++y) {
            if (ink.inked(x, y)) {
                ++inkRows;
                highest = std::min(highest, y);
            }
        }
        run = inkRows > 0 && inkRows <= thickest && highest >= bandTop ? run + 1 : 0;
        if (run >= shortest && (!through || (x - run < *through && *through <= x))) {
            return true;
        }
    }
    return false;
}

// From column `x`, how far the ink of the same word goes in `direction` (-1 left, +1 right):
// gaps between letters are crossed, a gap as wide as a word space ends the search.
int reachOfInk(const GreyImage& ink, const RecognisedLine& line, int x, int direction) {
    const int lineHeight = line.bottom - line.top;
    const int widestLetterGap = std::max(2, lineHeight * 15 / 100);
    const int top = std::max(0, line.top);
    const int bottom = std::min(ink.height - 1, line.bottom);
    int reached = x;
    int blank = 0;
    for (int column = x + direction;
         column >= 0 && column < ink.width && std::abs(column - x) <= 2 * lineHeight &&
         blank <= widestLetterGap;
         column += direction) {
        bool inked = false;
        for (int y = top; y <= bottom && !inked; ++y) {
            inked = ink.inked(column, y);
        }
        if (inked) {
            reached = column + (direction > 0 ? 1 : 0);
            blank = 0;
        } else {
            ++blank;
        }
    }
    return reached;
}

} // namespace

// A gap well under the line's usual word gap, or a sliver of the line's height, is no word break.
void TokenRepair::joinSplitTokens(const GreyImage& ink, RecognisedLine& line) {
    if (line.words.empty()) {
        return;
    }
    std::vector<int> gaps;
    for (std::size_t i = 1; i < line.words.size(); ++i) {
        gaps.push_back(line.words[i].left() - line.words[i - 1].right());
    }
    std::vector<int> sorted = gaps;
    std::sort(sorted.begin(), sorted.end());
    const int usualGap = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    const int lineHeight = line.bottom - line.top;
    // An underscore the engine dropped inside a word still needs covering by the word's boxes.
    for (auto& word : line.words) {
        if (gapHoldsUnderscore(ink, line, word.left() + lineHeight / 4,
                               word.right() - lineHeight / 4)) {
            for (auto& symbol : word.symbols) {
                symbol.bottom = std::max(symbol.bottom, line.bottom + lineHeight / 4);
            }
        }
    }
    for (std::size_t i = 1; i < line.words.size(); ++i) {
        RecognisedLine::Word& word = line.words[i];
        const RecognisedLine::Word& previous = line.words[i - 1];
        const int gap = gaps[i - 1];
        const bool underscoreRead =
            previous.symbols.back().text == "_" || word.symbols.front().text == "_";
        // A dropped underscore leaves a gap as wide as one; a sliver of a gap is a split word,
        // whatever the foot of an "E" or "L" beside it looks like.
        const bool wideEnough = gap >= std::max(3, lineHeight / 5);
        if (!underscoreRead && wideEnough &&
            gapHoldsUnderscore(ink, line, previous.right(), word.left(),
                               (previous.right() + word.left()) / 2)) {
            // The rule lies below the line's box; the box reaches down to cover it.
            word.symbols.insert(word.symbols.begin(),
                                RecognisedLine::Symbol{"_", previous.right(), line.top, word.left(),
                                                       line.bottom + lineHeight / 4});
            word.joinsPrevious = true;
        } else if (underscoreRead || gap * 100 < lineHeight * 12 ||
                   (sorted.size() >= 2 && gap * 10 < usualGap * 7)) {
            word.joinsPrevious = true;
        }
    }
}

void TokenRepair::stretchWordsToInk(const GreyImage& ink, RecognisedLine& line) {
    for (auto& word : line.words) {
        if (word.inkRight > word.inkLeft) {
            word.symbols.front().left = std::min(word.symbols.front().left, word.inkLeft);
            word.symbols.back().right = std::max(word.symbols.back().right, word.inkRight);
        }
        word.symbols.front().left = reachOfInk(ink, line, word.symbols.front().left, -1);
        word.symbols.back().right = reachOfInk(ink, line, word.symbols.back().right, +1);
    }
}

} // namespace lumeris
