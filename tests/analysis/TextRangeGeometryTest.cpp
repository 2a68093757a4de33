#include "analysis/TextRangeGeometry.h"

#include "support/FakeText.h"

#include <gtest/gtest.h>

using namespace lumeris;

// Units: a é ␠ 😀(2 units) _ z — the emoji takes two UTF-16 units, é one; "z" joins its word.
TEST(TextRangeGeometryTest, RangesOfUnitsMapToTheirSymbolsBoxesAndWordsJoinUnlessMarked) {
    // A line from row 10 to 30 of a 100 × 50 image; words of symbols (text, left, top, right,
    // bottom) and whether they join the previous one.
    const RecognisedLine line{10,
                              30,
                              {{{{"a", 10, 12, 20, 28}, {"\xC3\xA9", 20, 14, 30, 28}}},
                               {{{"\xF0\x9F\x98\x80", 40, 10, 50, 30}, {"_", 50, 12, 60, 34}}},
                               {{{"z", 60, 12, 70, 28}}, true}}};
    const TextCandidate candidate = TextRangeGeometry::candidate(line, 100, 50);
    EXPECT_EQ(candidate.string(), "a\xC3\xA9 \xF0\x9F\x98\x80_z");
    EXPECT_EQ(TextRangeGeometry::candidate(RecognisedLine{}, 100, 50).string(), "");
    // Boxes span the line's height (rows 10…30: y 0.4, height 0.4) and go deeper for the "_".
    const std::tuple<int, int, std::optional<Rect>> cases[] = {
        {0, 1, Rect{0.1, 0.4, 0.1, 0.4}},
        {1, 2, Rect{0.2, 0.4, 0.1, 0.4}},
        {2, 3, std::nullopt},
        {3, 4, Rect{0.4, 0.4, 0.1, 0.4}},
        {4, 5, Rect{0.4, 0.4, 0.1, 0.4}},
        {5, 6, Rect{0.5, 1.0 - 34 / 50.0, 0.1, 24 / 50.0}},
        {6, 7, Rect{0.6, 0.4, 0.1, 0.4}},
        {0, 7, Rect{0.1, 1.0 - 34 / 50.0, 0.6, 24 / 50.0}},
        {7, 8, std::nullopt},
    };
    for (const auto& [start, end, expected] : cases) {
        const auto box = candidate.boundingBox(start, end);
        ASSERT_EQ(box.has_value(), expected.has_value()) << start;
        if (box) {
            EXPECT_THAT(*box, RectNear(*expected)) << start << ", " << end;
        }
    }
}
