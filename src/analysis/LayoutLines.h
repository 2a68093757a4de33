#pragma once

#include <vector>

namespace lumeris {

// The text lines a layout pass found, before they are read, and how each is read.
class LayoutLines {
public:
    // In pixels of the whole image, top-left origin, right and bottom exclusive.
    struct Box {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    struct Line {
        Box box;
        std::vector<Box> words;

        // From the highest to the lowest row of its words (a rule or a stray mark in the line's
        // box does not count); the box's height without words.
        int textHeight() const;
    };

    // Joins the pieces of one row that the layout split at wide gaps (a monospaced " = ", a
    // table's columns close together), so that each row is read once, whole, in reading order.
    // Pieces join when they overlap vertically by half the lower one's height and are at most
    // three times the taller one's height apart.
    static std::vector<Line> joinRows(std::vector<Line> lines);

    // How much a line whose text is `textHeight` pixels high is scaled before it is read: text
    // below `smallest` is enlarged by `enlargement`, text twice as high as `smallest` is halved
    // (the reading costs about as much as the line's pixels and reads it as well), the rest is
    // read as it is.
    static double readingScale(int textHeight, int smallest, int enlargement);
};

} // namespace lumeris
