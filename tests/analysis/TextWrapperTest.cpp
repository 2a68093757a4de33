#include "analysis/TextWrapper.h"

#include "support/FakeText.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

void fill(RgbaImage& image, Rect area, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    for (int y = static_cast<int>(area.y); y < static_cast<int>(area.maxY()); ++y) {
        for (int x = static_cast<int>(area.x); x < static_cast<int>(area.maxX()); ++x) {
            auto* p = image.at(x, y);
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = 255;
        }
    }
}

bool pixelIs(const RgbaImage& image, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const auto* p = image.at(x, y);
    return p[0] == r && p[1] == g && p[2] == b && p[3] == 255;
}

} // namespace

TEST(TextWrapperTest, ThreeWordsFillOneRowAndStartASecond) {
    const std::vector<Rect> words{{0, 0, 100, 20}, {110, 0, 200, 20}, {320, 0, 300, 20}};
    const auto layout = TextWrapper::layout(words, true, 1.0, 1000, 100);
    ASSERT_TRUE(layout);
    EXPECT_DOUBLE_EQ(layout->totalWidth, 600);
    EXPECT_DOUBLE_EQ(layout->avgHeight, 20);
    EXPECT_DOUBLE_EQ(layout->estimatedHeight, 140);
    ASSERT_EQ(layout->words.size(), 3u);
    EXPECT_EQ(layout->words[0].row, 1);
    EXPECT_DOUBLE_EQ(layout->words[0].x, 5);
    EXPECT_DOUBLE_EQ(layout->words[0].y, 120);
    EXPECT_DOUBLE_EQ(layout->words[1].x, 110);
    EXPECT_DOUBLE_EQ(layout->words[1].y, 120);
    EXPECT_EQ(layout->words[2].row, 2);
    EXPECT_DOUBLE_EQ(layout->words[2].x, 5);
    EXPECT_DOUBLE_EQ(layout->words[2].y, 80);
}

TEST(TextWrapperTest, AWordWiderThanARowStartsANewRowEvenFirst) {
    const auto layout =
        TextWrapper::layout({{0, 0, 590, 30}, {600, 0, 50, 30}}, false, 1.0, 700, 40);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->words[0].row, 2);
    EXPECT_DOUBLE_EQ(layout->words[0].x, 5);
    EXPECT_EQ(layout->words[1].row, 3);
}

TEST(TextWrapperTest, OffsetsFollowTheLineAndCanBeSwitchedOff) {
    // Two words of one line, the second 4 pixels lower; then a new line further left.
    const std::vector<Rect> words{{10, 10, 50, 20}, {70, 14, 50, 20}, {10, 50, 50, 20}};
    EXPECT_EQ(TextWrapper::yOffsets(words, 2.0), (std::vector<double>{0, 8, 0}));
    const auto shifted = TextWrapper::layout(words, true, 2.0, 200, 100);
    EXPECT_DOUBLE_EQ(shifted->words[0].y - shifted->words[1].y, 8);
    const auto level = TextWrapper::layout(words, false, 2.0, 200, 100);
    EXPECT_DOUBLE_EQ(level->words[0].y, level->words[1].y);
    EXPECT_DOUBLE_EQ(level->words[1].y, level->words[2].y);
}

TEST(TextWrapperTest, WordsOutsideTheImageAreSkippedWithoutTakingRoom) {
    const auto layout = TextWrapper::layout({{5000, 0, 40, 20}, {0, 0, 40, 20}}, false, 1, 100, 50);
    ASSERT_EQ(layout->words.size(), 1u);
    EXPECT_DOUBLE_EQ(layout->words[0].x, 5);
    EXPECT_FALSE(TextWrapper::layout({}, false, 1, 100, 50));
}

TEST(TextWrapperTest, WrapItCutsWordsIntoACanvasOfTheBorderColour) {
    // A 1000 × 40 screenshot with two coloured "words" on one line.
    RgbaImage input(1000, 40);
    fill(input, {0, 0, 1000, 40}, 250, 250, 250);
    fill(input, {100, 10, 300, 20}, 200, 0, 0);
    fill(input, {600, 10, 300, 20}, 0, 0, 200);
    TextRecognitionOutcome outcome;
    // Lower-left origin: y = 40 − 10 − 20 = 10.
    outcome.observations = {{TextCandidate(
        "a b", {Rect{0.1, 0.25, 0.3, 0.5}, std::nullopt, Rect{0.6, 0.25, 0.3, 0.5}})}};
    EXPECT_THAT(
        TextWrapper::wordRects(outcome.observations, 1000, 40),
        testing::ElementsAre(RectNear(Rect{100, 10, 300, 20}), RectNear(Rect{600, 10, 300, 20})));

    const RgbaImage wrapped = TextWrapper::wrapIt(outcome, input, false, 1.0, "#102030");
    // totalWidth 600, avgHeight 20: 140 pixels high; row 1 bottom at 120 (rows 0–19 from the
    // top), row 2 bottom at 80 (rows 40–59).
    ASSERT_EQ(wrapped.width, 600);
    ASSERT_EQ(wrapped.height, 140);
    EXPECT_TRUE(pixelIs(wrapped, 5, 0, 200, 0, 0));
    EXPECT_TRUE(pixelIs(wrapped, 304, 19, 200, 0, 0));
    EXPECT_TRUE(pixelIs(wrapped, 5, 40, 0, 0, 200));
    EXPECT_TRUE(pixelIs(wrapped, 304, 59, 0, 0, 200));
    EXPECT_TRUE(pixelIs(wrapped, 2, 2, 0x10, 0x20, 0x30));
    EXPECT_TRUE(pixelIs(wrapped, 310, 10, 0x10, 0x20, 0x30));
    EXPECT_TRUE(pixelIs(wrapped, 5, 30, 0x10, 0x20, 0x30));
    EXPECT_TRUE(pixelIs(wrapped, 599, 139, 0x10, 0x20, 0x30));
}

TEST(TextWrapperTest, NothingToWrapReturnsTheInputThroughTheCallback) {
    RgbaImage input(30, 10);
    fill(input, {0, 0, 30, 10}, 1, 2, 3);
    std::optional<RgbaImage> received;
    TextWrapper::wrapIt(TextRecognitionOutcome::failure("no engine"), input, true, 2.0, "#ffffff",
                        [&](RgbaImage image) { received = std::move(image); });
    EXPECT_EQ(received, input);

    TextRecognitionOutcome nothing;
    nothing.observations = {TextObservation{}, monospacedLine("   ", 0, 0, 5, 5, 30, 10)};
    EXPECT_EQ(TextWrapper::wrapIt(nothing, input, true, 2.0, "#ffffff"), input);
    // A word whose range has no box is skipped like no word at all.
    nothing.observations = {{TextCandidate("word", std::vector<std::optional<Rect>>(4))}};
    EXPECT_EQ(TextWrapper::wrapIt(nothing, input, true, 2.0, "#ffffff"), input);
}
