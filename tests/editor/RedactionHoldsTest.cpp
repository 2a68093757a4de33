#include "editor/RedactionLeakCheck.h"
#include "editor/RedactionRules.h"
#include "editor/SecondReading.h"
#include "editor/TextDetection.h"
#include "fakes/FakeTextRecognizer.h"
#include "support/FakeText.h"
#include "support/ImageFiles.h"

#include <gtest/gtest.h>

using namespace lumeris;

// Look-alikes of a rule's text are flagged only where the rule itself finds nothing.
TEST(RedactionHoldsTest, LookAlikesAreFlaggedWhereThePatternFindsNothing) {
    const std::tuple<const RedactionRule*, const char*, const char*> cases[] = {
        {&RedactionRules::CREDIT_CARDS, "Card 4111 1lll 1111 1111 ok", "4111 1lll 1111 1111"},
        {&RedactionRules::CREDIT_CARDS, "Card 4111 1111 1111 1111 ok", nullptr},
        {&RedactionRules::CREDIT_CARDS, "Order number 20240105", nullptr},
        {&RedactionRules::EMAILS, "Write to anna.berg©mailhost.org now", "anna.berg©mailhost.org"},
        {&RedactionRules::EMAILS, "Write to anna.berg@mailhost.org now", nullptr},
        {&RedactionRules::IP_ADDRESSES, "From 10,7.0.42 today", "10,7.0.42"},
        {&RedactionRules::API_KEYS, "Token sk1Zx9QwErTy7Ui|OpAsDfGhJkLzXc ok",
         "sk1Zx9QwErTy7Ui|OpAsDfGhJkLzXc"},
        {&RedactionRules::API_KEYS, "Token sk3Zx9QwErTy 7UiOpAsDf3Gh]kLzXcVb rotate monthly",
         "sk3Zx9QwErTy 7UiOpAsDf3Gh]kLzXcVb"},
        {&RedactionRules::API_KEYS, "Release v2 build 2024 notes 1234 and more", nullptr},
    };
    for (const auto& [rule, line, flagged] : cases) {
        const auto shapes = SecondReading::unmatchedShapes(line, *rule);
        if (flagged == nullptr) {
            EXPECT_TRUE(shapes.empty()) << line;
            continue;
        }
        ASSERT_EQ(shapes.size(), 1U) << line;
        const icu::UnicodeString text = icu::UnicodeString::fromUTF8(line);
        std::string found;
        text.tempSubStringBetween(shapes[0].first, shapes[0].second).toUTF8String(found);
        EXPECT_EQ(found, flagged);
    }
}

// A look-alike the second reading cannot confirm is covered all the same, and the boxes drawn
// grow by the margin without leaving the image.
TEST(RedactionHoldsTest, LookAlikesAreCoveredAndBoxesGrowByTheMarginWithinTheImage) {
    FakeTextRecognizer recognizer;
    recognizer.outcome.observations = {
        monospacedLine("Card 4111 1lll 1111 1111 ok", 10, 50, 10, 20, 400, 100)};
    RgbaImage bitmap(400, 100);
    auto result =
        TextDetection::detect(recognizer, bitmap, 200, {RedactionRules::CREDIT_CARDS.pattern});
    ASSERT_TRUE(result);
    ASSERT_EQ(result->redactRects.size(), 1U);
    // Characters 5 to 23 of 10-pixel cells from x = 10, halved to points.
    EXPECT_THAT(result->redactRects[0], RectNear(Rect{30, 25, 95, 10}));

    const auto boxes = TextDetection::coveringBoxes({{1, 2, 10, 10}, {190, 40, 20, 8}}, 200, 50);
    ASSERT_EQ(boxes.size(), 2U);
    EXPECT_THAT(boxes[0], RectNear(Rect{0, 0, 14, 15}));
    EXPECT_THAT(boxes[1], RectNear(Rect{187, 37, 13, 13}));
}

// What recognition still finds in a composed picture is painted over in the pixels.
TEST(RedactionHoldsTest, LeakCheckPaintsOverWhatIsStillReadable) {
    FakeTextRecognizer recognizer;
    recognizer.outcome.observations = {
        monospacedLine("mail anna@mailhost.org", 0, 20, 10, 10, 300, 40)};
    RgbaImage picture(300, 40);
    std::string error;
    EXPECT_EQ(RedactionLeakCheck::cover(recognizer, picture, {RedactionRules::EMAILS.pattern},
                                        "#FF00FF", 2, &error),
              1);
    // The address spans x 50…220, rows 10…20 from the top; 2 pixels more on each side.
    for (auto [x, y, painted] : {std::tuple{49, 15, true},
                                 {220, 9, true},
                                 {45, 15, false},
                                 {100, 5, false},
                                 {100, 25, false}}) {
        const std::uint8_t* p = picture.at(x, y);
        EXPECT_EQ(p[0] == 255 && p[1] == 0 && p[2] == 255 && p[3] == 255, painted) << x << "," << y;
    }
    recognizer.outcome = TextRecognitionOutcome::failure("no engine");
    EXPECT_FALSE(RedactionLeakCheck::cover(recognizer, picture, {RedactionRules::EMAILS.pattern},
                                           "#000000", 2, &error));
    EXPECT_EQ(error, "no engine");
}

// Where the picture shows what was read, only the rows that differ are read again, and what is
// found there is covered where it lies in the picture.
TEST(RedactionHoldsTest, LeakCheckReadsOnlyTheRowsThatDifferFromTheFirstReading) {
    // Striped rows (every row the same) under 40 white rows of padding.
    RedactionLeakCheck::Reading first{
        painted(300, 60, [](int x, int) { return grey(x % 10 < 2 ? 40 : 230); }), {}};
    RgbaImage picture(300, 100);
    std::fill(picture.pixels.begin(), picture.pixels.end(), 255);
    std::copy(first.image.pixels.begin(), first.image.pixels.end(), picture.at(0, 40));
    // The band read is rows 0…41 (the padding and the first striped row, where rows agree again);
    // the address lies 10…20 rows above its foot.
    FakeTextRecognizer recognizer;
    recognizer.outcome.observations = {
        monospacedLine("mail anna@mailhost.org", 0, 10, 10, 10, 300, 41)};
    EXPECT_EQ(RedactionLeakCheck::cover(recognizer, picture, {RedactionRules::EMAILS.pattern},
                                        "#FF00FF", 0, nullptr, &first),
              1);
    EXPECT_EQ(recognizer.calls, 1);
    for (auto [y, painted] : {std::pair{26, true}, {16, false}, {35, false}, {85, false}}) {
        const std::uint8_t* p = picture.at(100, y);
        EXPECT_EQ(p[0] == 255 && p[1] == 0 && p[2] == 255, painted) << y;
    }
}
