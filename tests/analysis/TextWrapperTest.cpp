#include "analysis/TextWrapper.h"

#include "support/FakeText.h"
#include "support/ImageFiles.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

using Placed = std::vector<std::tuple<int, double, double>>;

// Each word's row, left edge and bottom edge.
Placed placed(const std::optional<TextWrapLayout>& layout) {
    Placed words;
    for (const auto& w : layout ? layout->words : std::vector<WrappedWord>{}) {
        words.emplace_back(w.row, w.x, w.y);
    }
    return words;
}

std::array<std::uint8_t, 4> pixel(const RgbaImage& image, int x, int y) {
    const auto* p = image.at(x, y);
    return {p[0], p[1], p[2], p[3]};
}

} // namespace

TEST(TextWrapperTest, WordsFillRowsAndAWordWiderThanARowStartsANewOneEvenFirst) {
    const auto layout = TextWrapper::layout({{0, 0, 100, 20}, {110, 0, 200, 20}, {320, 0, 300, 20}},
                                            true, 1.0, 1000, 100);
    ASSERT_TRUE(layout);
    EXPECT_EQ(std::tuple(layout->totalWidth, layout->avgHeight, layout->estimatedHeight),
              std::tuple(600, 20, 140));
    EXPECT_EQ(placed(layout), (Placed{{1, 5, 120}, {1, 110, 120}, {2, 5, 80}}));

    EXPECT_EQ(placed(TextWrapper::layout({{0, 0, 590, 30}, {600, 0, 50, 30}}, false, 1, 700, 40)),
              (Placed{{2, 5, 120}, {3, 5, 70}}));
    // Words outside the image are skipped without taking room.
    EXPECT_EQ(placed(TextWrapper::layout({{5000, 0, 40, 20}, {0, 0, 40, 20}}, false, 1, 100, 50)),
              (Placed{{1, 5, 120}}));
    EXPECT_FALSE(TextWrapper::layout({}, false, 1, 100, 50));
}

TEST(TextWrapperTest, OffsetsFollowTheLineAndCanBeSwitchedOff) {
    // Two words of one line, the second 4 pixels lower; then a new line further left.
    const std::vector<Rect> words{{10, 10, 50, 20}, {70, 14, 50, 20}, {10, 50, 50, 20}};
    EXPECT_EQ(TextWrapper::yOffsets(words, 2.0), (std::vector<double>{0, 8, 0}));
    const auto shifted = TextWrapper::layout(words, true, 2.0, 200, 100);
    EXPECT_DOUBLE_EQ(shifted->words[0].y - shifted->words[1].y, 8);
    const auto level = placed(TextWrapper::layout(words, false, 2.0, 200, 100));
    EXPECT_EQ(std::get<2>(level[0]), std::get<2>(level[1]));
    EXPECT_EQ(std::get<2>(level[1]), std::get<2>(level[2]));
}

TEST(TextWrapperTest, WrapItCutsWordsIntoACanvasOfTheBorderColour) {
    // A 1000 × 40 screenshot with two coloured "words" on one line.
    RgbaImage input(1000, 40);
    fillRect(input, 0, 0, 1000, 40, rgba(250, 250, 250));
    fillRect(input, 100, 10, 400, 30, rgba(200, 0, 0));
    fillRect(input, 600, 10, 900, 30, rgba(0, 0, 200));
    TextRecognitionOutcome outcome;
    outcome.observations = {{TextCandidate(
        "a b", {Rect{0.1, 0.25, 0.3, 0.5}, std::nullopt, Rect{0.6, 0.25, 0.3, 0.5}})}};
    const RgbaImage wrapped = TextWrapper::wrapIt(outcome, input, false, 1.0, "#102030");
    // 140 pixels high: row 1 bottom at 120 (rows 0–19 from the top), row 2 at 80 (rows 40–59).
    ASSERT_EQ(std::pair(wrapped.width, wrapped.height), std::pair(600, 140));
    const std::array<std::uint8_t, 4> red{200, 0, 0, 255}, blue{0, 0, 200, 255},
        border{0x10, 0x20, 0x30, 255};
    const std::tuple<int, int, std::array<std::uint8_t, 4>> samples[] = {
        {5, 0, red},    {304, 19, red},    {5, 40, blue},   {304, 59, blue},
        {2, 2, border}, {310, 10, border}, {5, 30, border}, {599, 139, border}};
    for (const auto& [x, y, expected] : samples) {
        EXPECT_EQ(pixel(wrapped, x, y), expected) << x << ", " << y;
    }
}

TEST(TextWrapperTest, NothingToWrapReturnsTheInputThroughTheCallback) {
    RgbaImage input(30, 10);
    fillRect(input, 0, 0, 30, 10, rgba(1, 2, 3));
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
