#include "platform/TesseractRecognizer.h"

#include "ScreenshotPainter.h"
#include "editor/RedactionRules.h"
#include "editor/TextDetection.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <gtest/gtest.h>

using namespace lumeris;

namespace {

// One engine for the whole program, as the application keeps it.
TesseractRecognizer& recognizer() {
    static TesseractRecognizer shared;
    return shared;
}

// Lines of a settings-like screen; each address sits between other words.
const std::vector<std::string> LINES{
    "Account settings",
    "Signed in as maria.lopez@example.com since May",
    "Billing contact: accounts-payable@northwind.io (primary)",
    "Notifications are sent to ops_team42@mail.example.org daily",
    "Two-factor authentication is enabled",
};

// Which line each address is on.
const std::vector<std::pair<std::size_t, std::string>> ADDRESSES{
    {1, "maria.lopez@example.com"},
    {2, "accounts-payable@northwind.io"},
    {3, "ops_team42@mail.example.org"},
};

class ScreenshotRecognition : public testing::TestWithParam<ScreenshotStyle> {};

std::string styleName(const testing::TestParamInfo<ScreenshotStyle>& info) {
    const ScreenshotStyle& style = info.param;
    std::string name = style.font + std::to_string(static_cast<int>(style.pointSize)) +
                       (style.dark ? "dark" : "light") +
                       std::to_string(static_cast<int>(style.scale)) + "x";
    std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
    return name;
}

} // namespace

TEST_P(ScreenshotRecognition, EveryPlantedAddressIsBoxedExactly) {
    const Screenshot shot = Screenshot::paint(LINES, GetParam(), 760, 240);
    std::string error;
    const auto result = TextDetection::detect(recognizer(), shot.image(), shot.pointWidth(),
                                              {RedactionRules::EMAILS.pattern}, &error);
    ASSERT_TRUE(result) << error;

    std::vector<Rect> boxes;
    for (const auto& rect : result->redactRects) {
        boxes.push_back(shot.toPixels(rect));
    }
    for (const auto& [line, address] : ADDRESSES) {
        SCOPED_TRACE(address);
        const Rect drawn = shot.boxOf(line, address);
        // The box made from this address is the one whose centre lies in the drawn text.
        const auto box = std::find_if(boxes.begin(), boxes.end(), [&](const Rect& b) {
            const double cx = b.x + b.width / 2;
            const double cy = b.y + b.height / 2;
            return cx > drawn.x && cx < drawn.maxX() && cy > drawn.y && cy < drawn.maxY();
        });
        ASSERT_NE(box, boxes.end());
        // Every clearly inked pixel of the address is inside the box (one pixel of slack for
        // anti-aliasing at the box edges).
        int missed = 0;
        for (int y = static_cast<int>(drawn.y); y < std::ceil(drawn.maxY()); ++y) {
            for (int x = static_cast<int>(drawn.x); x < std::ceil(drawn.maxX()); ++x) {
                missed += shot.isInk(x, y) && (x < box->x - 1 || x > box->maxX() + 1 ||
                                               y < box->y - 1 || y > box->maxY() + 1);
            }
        }
        EXPECT_EQ(missed, 0) << "ink outside the box";
    }
    EXPECT_EQ(result->redactRects.size(), ADDRESSES.size());
    // The words of the address lines stay text rectangles; the addresses do not.
    EXPECT_GE(result->allTextRects.size(), 17u);
}

INSTANTIATE_TEST_SUITE_P(FontsThemesAndDensities, ScreenshotRecognition,
                         testing::Values(ScreenshotStyle{"DejaVu Sans", 10, false, 1},
                                         ScreenshotStyle{"DejaVu Sans Mono", 9, true, 1},
                                         ScreenshotStyle{"DejaVu Sans Mono", 11, false, 2},
                                         ScreenshotStyle{"DejaVu Serif", 13, true, 2}),
                         styleName);

TEST(TesseractRecognizerTest, CardsAddressesAndKeysAreFoundByTheirRules) {
    const Screenshot shot = Screenshot::paint(
        {"Card 4111 1111 1111 1111 expires 09/29", "Server 192.168.10.24 gateway fe80::1",
         "secret = wJalrXUtnFEMI/K7MDENG/bPxRfiCYEXAMPLEKEY"},
        ScreenshotStyle{"DejaVu Sans Mono", 11, true, 1}, 640, 140);
    const auto outcome = recognizer().recognize(shot.image());
    ASSERT_FALSE(outcome.failed());
    auto found = [&](const RedactionRule& rule) {
        return TextDetection::rectsForPattern(rule.pattern, outcome.observations,
                                              shot.image().width, shot.image().height)
            .size();
    };
    EXPECT_EQ(found(RedactionRules::CREDIT_CARDS), 1u);
    EXPECT_EQ(found(RedactionRules::IP_ADDRESSES), 2u);
    EXPECT_EQ(found(RedactionRules::API_KEYS), 1u);
}

// Tall screens are read in overlapping bands at once; lines on band boundaries (three bands of
// this screen cut through some) are read whole, exactly once, in their place: the same reading as
// in one piece.
TEST(TesseractRecognizerTest, BandsReadEveryLineOnceInOrder) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 20; ++i) {
        lines.push_back("Row " + std::to_string(i) + " of the deployment table");
    }
    const Screenshot shot = Screenshot::paint(lines, ScreenshotStyle{}, 420, 720);
    auto read = [&](int bands) {
        TesseractRecognizer::Options options;
        options.bands = bands;
        options.bandOverlap = 40;
        TesseractRecognizer reader(options);
        const auto outcome = reader.recognize(shot.image());
        EXPECT_FALSE(outcome.failed());
        return TextDetection::detectedText(outcome.observations);
    };
    const auto whole = read(1);
    ASSERT_EQ(whole.size(), lines.size());
    EXPECT_EQ(read(3), whole);
}

TEST(TesseractRecognizerTest, ConcurrentCallsEachGetAnEngineAndReadLinesInOrder) {
    const Screenshot shot =
        Screenshot::paint({"First line of text", "Second line here"}, ScreenshotStyle{}, 400, 100);
    auto run = [&] {
        return TextDetection::detectedText(recognizer().recognize(shot.image()).observations);
    };
    auto first = std::async(std::launch::async, run);
    auto second = std::async(std::launch::async, run);
    const std::vector<std::string> expected{"First line of text", "Second line here"};
    EXPECT_EQ(first.get(), expected);
    EXPECT_EQ(second.get(), expected);
}

TEST(TesseractRecognizerTest, FailuresAreReportedNotThrown) {
    EXPECT_TRUE(recognizer().recognize(RgbaImage()).failed());
    TesseractRecognizer::Options missing;
    missing.dataPath = "/nonexistent";
    TesseractRecognizer broken(missing);
    const Screenshot shot = Screenshot::paint({"text"}, ScreenshotStyle{}, 100, 40);
    const auto outcome = broken.recognize(shot.image());
    ASSERT_TRUE(outcome.failed());
    EXPECT_NE(outcome.error->find("eng"), std::string::npos);
    // A blank image is no failure, just no text.
    const auto blank =
        recognizer().recognize(Screenshot::paint({}, ScreenshotStyle{}, 200, 100).image());
    EXPECT_FALSE(blank.failed());
    EXPECT_TRUE(blank.observations.empty());
}
