#include "analysis/LayoutLines.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace lumeris;

namespace {

using Box = LayoutLines::Box;

// A piece of a line holding one word that fills it.
LayoutLines::Line piece(int left, int top, int right, int bottom) {
    return {{left, top, right, bottom}, {{left, top, right, bottom}}};
}

std::vector<int> lefts(const std::vector<LayoutLines::Line>& lines) {
    std::vector<int> out;
    for (const auto& line : lines) {
        out.push_back(line.box.left);
    }
    return out;
}

} // namespace

// Rows of text 10 pixels high; what the layout hands over, and the rows that are read.
TEST(LayoutLinesTest, PiecesOfOneRowAreReadTogetherAndOthersApart) {
    const struct {
        const char* name;
        std::vector<LayoutLines::Line> found;
        std::vector<int> rowLefts;
    } cases[] = {
        {"next rows stay apart", {piece(0, 0, 100, 10), piece(0, 14, 100, 24)}, {0, 0}},
        // "fe80::1013:9ab" in a small monospaced font: the colons left out, three glyphs apart.
        {"a gap of three heights joins", {piece(0, 0, 50, 10), piece(80, 0, 120, 10)}, {0}},
        {"columns further apart stay apart", {piece(0, 0, 50, 10), piece(81, 0, 120, 10)}, {0, 81}},
        // "secret = key": the bars of "=" are lines of their own, each reaching the key only
        // through the other pieces; joined whatever their order.
        {"a monospaced assignment",
         {piece(0, 0, 52, 10), piece(63, 6, 70, 7), piece(63, 3, 70, 4), piece(80, 0, 400, 12)},
         {0}},
        {"half an overlap is the same row", {piece(0, 0, 50, 10), piece(60, 5, 90, 15)}, {0}},
        {"less is the next row", {piece(0, 0, 50, 10), piece(60, 6, 90, 16)}, {0, 60}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rows = LayoutLines::joinRows(c.found);
        EXPECT_EQ(lefts(rows), c.rowLefts);
    }
    // A joined row spans its pieces, its words in reading order.
    const auto rows = LayoutLines::joinRows({piece(80, 0, 400, 12), piece(0, 1, 60, 10)});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].box.left, 0);
    EXPECT_EQ(rows[0].box.right, 400);
    EXPECT_EQ(rows[0].box.bottom, 12);
    ASSERT_EQ(rows[0].words.size(), 2u);
    EXPECT_EQ(rows[0].words[0].left, 0);
    EXPECT_EQ(rows[0].textHeight(), 12);
}

TEST(LayoutLinesTest, SmallTextIsEnlargedAndTallTextHalved) {
    for (auto [height, scale] : {std::pair{9, 2.0}, {13, 2.0}, {14, 1.0}, {27, 1.0}, {28, 0.5}}) {
        EXPECT_EQ(LayoutLines::readingScale(height, 14, 2), scale) << height;
    }
    // The height is the words', not the box's: a mark the layout put in the line is no text.
    const LayoutLines::Line line{{0, 0, 300, 40}, {{0, 20, 50, 32}, {60, 22, 100, 34}}};
    EXPECT_EQ(line.textHeight(), 14);
    const LayoutLines::Line empty{{0, 0, 300, 40}, {}};
    EXPECT_EQ(empty.textHeight(), 40);
}
