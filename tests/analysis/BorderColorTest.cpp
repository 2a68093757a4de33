#include "analysis/BorderColor.h"

#include "support/ImageFiles.h"

#include <gtest/gtest.h>

using namespace lumeris;
using Pixel = BorderColor::Pixel;

namespace {

constexpr Pixel WHITE{255, 255, 255, 255};
constexpr Pixel BLACK{0, 0, 0, 255};

RgbaImage uniform(int width, int height, const Pixel& p) {
    RgbaImage image(width, height);
    fillRect(image, 0, 0, width, height, p);
    return image;
}

// A 30 × 24 image whose 108 edge entries count A (200, 200, 200) 100 times and B (50, 50, 50)
// 10 times. Only the representatives are exact: every other member differs by one unit, so
// it counts once, while each representative sits on a corner and is met twice (1 + 2).
// With `stray`, one A member becomes a third colour, leaving A at 99.
RgbaImage countedEdges(bool stray) {
    RgbaImage image = uniform(30, 24, Pixel{201, 200, 200, 255});
    fillRect(image, 0, 0, 1, 1, Pixel{200, 200, 200, 255});
    fillRect(image, 29, 0, 30, 1, Pixel{50, 50, 50, 255}); // top row's last, right column's first
    fillRect(image, 29, 1, 30, 8, Pixel{51, 50, 50, 255});
    if (stray) {
        fillRect(image, 15, 23, 16, 24, Pixel{0, 0, 255, 255});
    }
    return image;
}

} // namespace

TEST(BorderColor, DominanceNeedsTenTimesTheRunnerUp) {
    auto edge = BorderColor::dominantEdgeColor(countedEdges(false));
    EXPECT_EQ(std::tuple(edge.key, edge.count, edge.secondCount, edge.dominant),
              std::tuple("#C8C8C8FF", 100, 10, true));
    edge = BorderColor::dominantEdgeColor(countedEdges(true));
    EXPECT_EQ(std::tuple(edge.count, edge.secondCount, edge.dominant), std::tuple(99, 10, false));
    // The colour comes back even when it does not dominate, with no insets.
    EXPECT_EQ(BorderColor::analyze(countedEdges(true), 30, 24),
              (BorderAnalysis{"#C8C8C8FF", false, {}, false}));
}

TEST(BorderColor, BlackAdmitsOnlyExactZeroChannels) {
    // Colour search: a one-unit red is not similar to black and forms its own group: its first
    // pixel, then seven exact repeats counting twice.
    RgbaImage image = uniform(10, 10, BLACK);
    fillRect(image, 1, 0, 9, 1, Pixel{1, 0, 0, 255});
    auto edge = BorderColor::dominantEdgeColor(image);
    EXPECT_EQ(std::tuple(edge.key, edge.secondCount), std::tuple("#000000FF", 15));

    // Inset scan: alpha from 243 to 255 matches, 242 or any colour does not.
    fillRect(image, 0, 9, 10, 10, Pixel{0, 0, 0, 242});
    fillRect(image, 0, 0, 1, 10, Pixel{0, 0, 0, 243});
    fillRect(image, 1, 0, 2, 10, Pixel{0, 0, 0, 242});
    fillRect(image, 9, 0, 10, 10, Pixel{1, 0, 0, 255});
    // The right and bottom counts include the first differing column or row (RenderCommandTest
    // pins them on a whole band).
    EXPECT_EQ(BorderColor::edgeInsets(image, BLACK), (EdgeInsets{1, 1, 0, 1}));
}

TEST(BorderColor, WindowCapturesAreNeverGivenAColour) {
    RgbaImage image = uniform(50, 40, WHITE);
    for (auto [x, y] : {std::pair{0, 0}, {49, 0}, {0, 39}, {49, 39}}) {
        image.at(x, y)[3] = 0;
    }
    EXPECT_EQ(BorderColor::analyze(image, 50, 40), (BorderAnalysis{"#ffffff", false, {}, true}));
    image.at(49, 39)[3] = 255; // three transparent corners are not enough
    EXPECT_FALSE(BorderColor::analyze(image, 50, 40).windowCapture);
}

TEST(BorderColor, AreaLimitIsInPointsInclusive) {
    // Tiny bitmaps stand in for the screenshot: only the point size is checked.
    RgbaImage image = uniform(4, 4, WHITE);
    EXPECT_EQ(BorderColor::analyze(image, 1000, 910),
              (BorderAnalysis{"#FFFFFFFF", true, {}, false}));
    EXPECT_EQ(BorderColor::analyze(image, 1000, 911), BorderAnalysis{});
    EXPECT_EQ(BorderColor::analyze(RgbaImage(), 10, 10), BorderAnalysis{});
}
