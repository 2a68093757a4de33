#include "editor/TextDetection.h"

#include "TemporaryFolder.h"
#include "editor/RedactionRules.h"
#include "fakes/FakeTextRecognizer.h"
#include "settings/SettingsStore.h"
#include "support/FakeText.h"

#include <gtest/gtest.h>

using namespace lumeris;
using testing::ElementsAre;

namespace {

constexpr double W = 1000;
constexpr double H = 100;
const std::string EMAILS = RedactionRules::EMAILS.pattern;

// Matches of `pattern` in `text`, as the substrings the boxes cover (10-pixel characters).
std::vector<std::string> matches(const char* pattern, const std::string& text) {
    const auto rects =
        TextDetection::rectsForPattern(pattern, {monospacedLine(text, 0, 0, 10, 20, W, H)}, W, H);
    std::vector<std::string> found;
    const icu::UnicodeString units = icu::UnicodeString::fromUTF8(text);
    for (const auto& rect : rects) {
        std::string piece;
        units.tempSubString(std::lround(rect.x / 10), std::lround(rect.width / 10))
            .toUTF8String(piece);
        found.push_back(piece);
    }
    return found;
}

} // namespace

TEST(RedactionRulesTest, EachRuleFindsWhatItShouldAndNothingElse) {
    const std::string key = "sk-live_0123456789/abcdefghijklmnopqrstu"; // 40 characters
    const struct {
        const RedactionRule& rule;
        std::string text;
        std::vector<std::string> found;
    } cases[] = {
        {RedactionRules::EMAILS, "mail jane.doe+x@example.co.uk now", {"jane.doe+x@example.co.uk"}},
        {RedactionRules::EMAILS, "A@B.CD and c@d.museum", {"A@B.CD", "c@d.museum"}},
        {RedactionRules::EMAILS, "@example.com user@ x@y.z", {}},
        // Ranges count UTF-16 units: "é" is one unit but two bytes, "𝔸" two units.
        {RedactionRules::EMAILS, "é𝔸 x@y.io", {"x@y.io"}},
        {RedactionRules::CREDIT_CARDS, "4111 1111 1111 1111", {"4111 1111 1111 1111"}},
        {RedactionRules::CREDIT_CARDS, "4111-1111-1111-1111", {"4111-1111-1111-1111"}},
        {RedactionRules::CREDIT_CARDS, "4111-1111-1111", {}},
        {RedactionRules::IP_ADDRESSES, "ping 10.0.0.1", {"10.0.0.1"}},
        {RedactionRules::IP_ADDRESSES, "fe80::1 ABCD::1", {"fe80::1", "ABCD::1"}},
        {RedactionRules::IP_ADDRESSES, "at 10:30", {"10:30"}},
        {RedactionRules::IP_ADDRESSES, "version 1.2.3", {}},
        {RedactionRules::API_KEYS, "token " + key, {key}},
        {RedactionRules::API_KEYS, key.substr(0, 31), {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(matches(c.rule.pattern, c.text), c.found) << c.text;
    }
}

TEST(RedactionRulesTest, ActivePatternsFollowTheSettingsInOrderAndDefaultToOn) {
    TemporaryFolder folder;
    SettingsStore settings(folder / "settings.json");
    const auto& [cards, ips, keys] =
        std::tie(RedactionRules::CREDIT_CARDS.pattern, RedactionRules::IP_ADDRESSES.pattern,
                 RedactionRules::API_KEYS.pattern);
    EXPECT_THAT(RedactionRules::activePatterns(settings), ElementsAre(EMAILS, cards, ips, keys));
    settings.set(RedactionRules::EMAILS.setting, false);
    settings.set(RedactionRules::IP_ADDRESSES.setting, false);
    EXPECT_THAT(RedactionRules::activePatterns(settings), ElementsAre(cards, keys));
}

TEST(TextDetectionTest, MatchesAreBoxedInBitmapPixelsAndWhatCannotBeBoxedIsLeftOut) {
    // Normalised boxes become pixels of the bitmap; lines keep their order.
    const std::vector<TextObservation> lines{monospacedLine("one a@b.io", 100, 50, 10, 20, W, H),
                                             TextObservation{},
                                             monospacedLine("c@d.io", 0, 0, 10, 20, W, H)};
    EXPECT_THAT(TextDetection::rectsForPattern(EMAILS, lines, 2000, 50),
                ElementsAre(RectNear(Rect{280, 25, 120, 10}), RectNear(Rect{0, 0, 120, 10})));
    // The other rules still apply.
    EXPECT_EQ(
        TextDetection::applyTextRecognition(lines, W, H, W, {"([unclosed", EMAILS}).redactRects,
        TextDetection::rectsForPattern(EMAILS, lines, W, H));
    EXPECT_TRUE(TextDetection::rectsForPattern("([unclosed", lines, W, H).empty());
    const std::vector<TextObservation> boxless{
        {TextCandidate("a@b.io", std::vector<std::optional<Rect>>(6))}};
    EXPECT_TRUE(TextDetection::rectsForPattern(EMAILS, boxless, W, H).empty());
    // Boxes of no area are dropped.
    const std::vector<TextObservation> flat{
        {TextCandidate("a@b.io", std::vector<std::optional<Rect>>(6, Rect{0.1, 0.1, 0.0, 0.2}))}};
    const auto none = TextDetection::applyTextRecognition(flat, W, H, W, {EMAILS});
    EXPECT_TRUE(none.redactRects.empty() && none.allTextRects.empty());
}

TEST(TextDetectionTest, AnAddressAfterThreeWordsIsOneBoxAndTheWordsStayText) {
    FakeTextRecognizer recognizer;
    recognizer.outcome.observations = {
        monospacedLine("Send it to jane@example.com", 10, 30, 10, 20, W, H)};
    const auto result = TextDetection::detect(recognizer, RgbaImage(1000, 100), W, {EMAILS});
    ASSERT_TRUE(result);
    EXPECT_THAT(result->redactRects, ElementsAre(RectNear(Rect{120, 30, 160, 20})));
    EXPECT_THAT(result->allTextRects,
                ElementsAre(RectNear(Rect{10, 30, 40, 20}), RectNear(Rect{60, 30, 20, 20}),
                            RectNear(Rect{90, 30, 20, 20})));
    EXPECT_EQ(result->detectedText, std::vector<std::string>{"Send it to jane@example.com"});
    recognizer.outcome = TextRecognitionOutcome::failure("no engine");
    std::string error;
    EXPECT_FALSE(TextDetection::detect(recognizer, RgbaImage(1000, 100), W, {}, &error));
    EXPECT_EQ(error, "no engine");

    // 200 × 40 pixels on a bitmap twice as wide as the image's points: 100 × 20 points.
    const auto dense = TextDetection::applyTextRecognition(
        {monospacedLine("ab@cd.io", 40, 80, 25, 40, 800, 400)}, 800, 400, 400, {EMAILS});
    EXPECT_THAT(dense.redactRects, ElementsAre(RectNear(Rect{20, 40, 100, 20})));
    EXPECT_TRUE(dense.allTextRects.empty());
}

TEST(TextDetectionTest, ShrunkenOverlapKeepsWordsThatOnlyTouchABox) {
    const Rect box{100, 0, 100, 20};
    EXPECT_THAT(TextDetection::shrunk(box), RectNear(Rect{115, 3, 70, 14}));
    EXPECT_TRUE(TextDetection::overlapsShrunk(box, {150, 0, 40, 20}));
    // Overlaps the box by 10 of its 40 pixels: the shrunken rectangles are apart.
    EXPECT_FALSE(TextDetection::overlapsShrunk(box, {60, 0, 50, 20}));
    EXPECT_FALSE(TextDetection::overlapsShrunk(box, {200, 0, 40, 20}));
    EXPECT_FALSE(TextDetection::overlapsShrunk(box, {100, 20, 100, 20}));
}

// Only spaces and tabs are trimmed, so blank lines still join into a line break.
TEST(TextDetectionTest, JoinedTextTrimsSpacesAndTabs) {
    EXPECT_EQ(TextDetection::joinedText({" \tfirst", "second \t"}), "first\nsecond");
    EXPECT_EQ(TextDetection::joinedText({"  ", "\t"}), "\n");
}
