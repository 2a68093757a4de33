#include "analysis/BorderColor.h"

#include <gtest/gtest.h>

using lumeris::BorderAnalysis;
using lumeris::BorderColor;
using lumeris::EdgeInsets;
using lumeris::RgbaImage;
using Pixel = BorderColor::Pixel;

namespace {

constexpr Pixel WHITE{255, 255, 255, 255};
constexpr Pixel BLACK{0, 0, 0, 255};

void fill(RgbaImage& image, int x0, int y0, int x1, int y1, const Pixel& p) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            std::copy(p.begin(), p.end(), image.at(x, y));
        }
    }
}

void set(RgbaImage& image, int x, int y, const Pixel& p) {
    fill(image, x, y, x + 1, y + 1, p);
}

RgbaImage uniform(int width, int height, const Pixel& p) {
    RgbaImage image(width, height);
    fill(image, 0, 0, width, height, p);
    return image;
}

// A 10-pixel white band around a black square.
RgbaImage bandImage() {
    RgbaImage image = uniform(100, 100, WHITE);
    fill(image, 10, 10, 90, 90, BLACK);
    return image;
}

// A 30 × 24 image whose 108 edge entries count A (200, 200, 200) 100 times and B (50, 50, 50)
// 10 times. Only the representatives are exact: every other member differs by one unit, so
// it counts once, while each representative sits on a corner and is met twice (1 + 2).
// With `stray`, one A member becomes a third colour, leaving A at 99.
RgbaImage countedEdges(bool stray) {
    constexpr Pixel A{200, 200, 200, 255};
    constexpr Pixel A_MEMBER{201, 200, 200, 255};
    constexpr Pixel B{50, 50, 50, 255};
    constexpr Pixel B_MEMBER{51, 50, 50, 255};
    RgbaImage image = uniform(30, 24, A_MEMBER);
    set(image, 0, 0, A);
    set(image, 29, 0, B); // top row's last pixel, then the right column's first
    for (int y = 1; y <= 7; ++y) {
        set(image, 29, y, B_MEMBER);
    }
    if (stray) {
        set(image, 15, 23, Pixel{0, 0, 255, 255});
    }
    return image;
}

} // namespace

TEST(BorderColor, UniformWhiteDominatesWithZeroInsets) {
    BorderAnalysis result = BorderColor::analyze(uniform(300, 200, WHITE), 300, 200);
    EXPECT_EQ(result.color, "#FFFFFFFF");
    EXPECT_TRUE(result.detected);
    EXPECT_EQ(result.insets, EdgeInsets{});
    EXPECT_FALSE(result.windowCapture);
}

TEST(BorderColor, BandInsetsCountOneMoreOnTheRightAndBottom) {
    EXPECT_EQ(BorderColor::edgeInsets(bandImage(), WHITE), (EdgeInsets{10, 11, 10, 11}));
    BorderAnalysis result = BorderColor::analyze(bandImage(), 100, 100);
    EXPECT_TRUE(result.detected);
    EXPECT_EQ(result.insets, (EdgeInsets{10, 11, 10, 11}));

    // A last column and row that already differ still give 1 on those sides.
    RgbaImage image = uniform(20, 20, WHITE);
    fill(image, 19, 0, 20, 20, BLACK);
    fill(image, 0, 19, 20, 20, BLACK);
    fill(image, 5, 5, 6, 6, BLACK);
    EXPECT_EQ(BorderColor::edgeInsets(image, WHITE), (EdgeInsets{0, 1, 0, 1}));
}

TEST(BorderColor, DominanceNeedsTenTimesTheRunnerUp) {
    auto dominant = BorderColor::dominantEdgeColor(countedEdges(false));
    EXPECT_EQ(dominant.count, 100);
    EXPECT_EQ(dominant.secondCount, 10);
    EXPECT_EQ(dominant.key, "#C8C8C8FF");
    EXPECT_TRUE(dominant.dominant);

    auto balanced = BorderColor::dominantEdgeColor(countedEdges(true));
    EXPECT_EQ(balanced.count, 99);
    EXPECT_EQ(balanced.secondCount, 10);
    EXPECT_FALSE(balanced.dominant);

    // The colour comes back even when it does not dominate, with no insets.
    BorderAnalysis result = BorderColor::analyze(countedEdges(true), 30, 24);
    EXPECT_EQ(result.color, "#C8C8C8FF");
    EXPECT_FALSE(result.detected);
    EXPECT_EQ(result.insets, EdgeInsets{});
}

TEST(BorderColor, OneUnitOffPixelsJoinTheFirstPixelsGroupAndRepeatsCountTwice) {
    RgbaImage image = uniform(10, 10, Pixel{101, 100, 100, 255});
    set(image, 0, 0, Pixel{100, 100, 100, 255});
    auto edge = BorderColor::dominantEdgeColor(image);
    EXPECT_EQ(edge.key, "#646464FF");
    EXPECT_EQ((edge.pixel), (Pixel{100, 100, 100, 255}));
    EXPECT_EQ(edge.count, 41); // 40 entries, the corner (0, 0) met twice
    EXPECT_EQ(edge.secondCount, 0);
    EXPECT_TRUE(edge.dominant);

    set(image, 5, 0, Pixel{100, 100, 100, 255});
    EXPECT_EQ(BorderColor::dominantEdgeColor(image).count, 42);
}

TEST(BorderColor, BlackAdmitsOnlyExactZeroChannels) {
    // Colour search: a one-unit red is not similar to black and forms its own group.
    RgbaImage image = uniform(10, 10, BLACK);
    for (int x = 1; x < 9; ++x) {
        set(image, x, 0, Pixel{1, 0, 0, 255});
    }
    auto edge = BorderColor::dominantEdgeColor(image);
    EXPECT_EQ(edge.key, "#000000FF");
    EXPECT_EQ(edge.secondCount, 15); // its first pixel, then seven exact repeats counting twice

    // Inset scan: alpha from 243 to 255 matches, 242 or any colour does not.
    RgbaImage band = uniform(10, 10, BLACK);
    fill(band, 0, 9, 10, 10, Pixel{0, 0, 0, 242});
    fill(band, 0, 0, 1, 10, Pixel{0, 0, 0, 243});
    fill(band, 1, 0, 2, 10, Pixel{0, 0, 0, 242});
    fill(band, 9, 0, 10, 10, Pixel{1, 0, 0, 255});
    EdgeInsets insets = BorderColor::edgeInsets(band, BLACK);
    EXPECT_EQ(insets.left, 1);
    EXPECT_EQ(insets.right, 1);
    EXPECT_EQ(insets.top, 0);
    EXPECT_EQ(insets.bottom, 1);
}

TEST(BorderColor, WindowCapturesAreNeverGivenAColour) {
    RgbaImage image = uniform(50, 40, WHITE);
    for (auto [x, y] : {std::pair{0, 0}, {49, 0}, {0, 39}, {49, 39}}) {
        set(image, x, y, Pixel{255, 255, 255, 0});
    }
    EXPECT_TRUE(BorderColor::hasTransparentCorners(image));
    EXPECT_EQ(BorderColor::analyze(image, 50, 40),
              (BorderAnalysis{"#ffffff", false, EdgeInsets{}, true}));

    set(image, 49, 39, WHITE); // three transparent corners are not enough
    EXPECT_FALSE(BorderColor::hasTransparentCorners(image));
    EXPECT_FALSE(BorderColor::analyze(image, 50, 40).windowCapture);
}

TEST(BorderColor, AreaLimitIsInPointsInclusive) {
    // Tiny bitmaps stand in for the screenshot: only the point size is checked.
    RgbaImage image = uniform(4, 4, WHITE);
    EXPECT_TRUE(BorderColor::analyze(image, 1000, 910).detected);
    EXPECT_EQ(BorderColor::analyze(image, 1000, 911), BorderAnalysis{});
    EXPECT_TRUE(BorderColor::analyze(image, 1200, 750).detected);
    EXPECT_EQ(BorderColor::analyze(image, 1280, 720), BorderAnalysis{});
    EXPECT_EQ(BorderColor::analyze(RgbaImage(), 10, 10), BorderAnalysis{});
}
