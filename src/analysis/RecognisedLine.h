#pragma once

#include <string>
#include <vector>

namespace lumeris {

// One line as the recognition engine read it, in pixels of the image it read (top-left origin,
// right and bottom exclusive).
struct RecognisedLine {
    struct Symbol {
        std::string text; // UTF-8, usually one character
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    struct Word {
        std::vector<Symbol> symbols;
        // Written without a space before it: the engine split one token.
        bool joinsPrevious = false;
        // The word's box as the engine measured it from its ink; -1 when unknown.
        int inkLeft = -1;
        int inkRight = -1;

        int left() const { return symbols.front().left; }
        int right() const { return symbols.back().right; }
    };

    int top = 0;
    int bottom = 0;
    std::vector<Word> words; // none of them without symbols
};

} // namespace lumeris
