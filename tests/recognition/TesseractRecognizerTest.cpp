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

std::vector<std::string> readLines(TesseractRecognizer& reader, const Screenshot& shot) {
    const auto outcome = reader.recognize(shot.image());
    EXPECT_FALSE(outcome.failed());
    return TextDetection::detectedText(outcome.observations);
}

class ScreenshotRecognition : public testing::TestWithParam<ScreenshotStyle> {};

} // namespace

// Lines of a settings-like screen; each address sits between other words.
TEST_P(ScreenshotRecognition, EveryPlantedAddressIsBoxedExactly) {
    const Screenshot shot =
        Screenshot::paint({"Account settings", "Signed in as maria.lopez@example.com since May",
                           "Billing contact: accounts-payable@northwind.io (primary)",
                           "Notifications are sent to ops_team42@mail.example.org daily",
                           "Two-factor authentication is enabled"},
                          GetParam(), 760, 240);
    std::string error;
    const auto result = TextDetection::detect(recognizer(), shot.image(), shot.pointWidth(),
                                              {RedactionRules::EMAILS.pattern}, &error);
    ASSERT_TRUE(result) << error;
    ASSERT_EQ(result->redactRects.size(), 3u);
    // The words of the address lines stay text rectangles; the addresses do not.
    EXPECT_GE(result->allTextRects.size(), 17u);
    for (std::size_t line = 1; line <= 3; ++line) {
        const std::string& text = shot.lines()[line];
        const auto start = text.rfind(' ', text.find('@')) + 1;
        const std::string address = text.substr(start, text.find(' ', start) - start);
        SCOPED_TRACE(address);
        const Rect drawn = shot.boxOf(line, address);
        // The box made from this address is the one whose centre lies in the drawn text.
        std::optional<Rect> box;
        for (const auto& rect : result->redactRects) {
            const Rect b = shot.toPixels(rect);
            const double cx = b.x + b.width / 2, cy = b.y + b.height / 2;
            if (cx > drawn.x && cx < drawn.maxX() && cy > drawn.y && cy < drawn.maxY()) {
                box = b;
            }
        }
        ASSERT_TRUE(box);
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
}

INSTANTIATE_TEST_SUITE_P(FontsThemesAndDensities, ScreenshotRecognition,
                         testing::Values(ScreenshotStyle{"DejaVu Sans", 10, false, 1},
                                         ScreenshotStyle{"DejaVu Sans Mono", 9, true, 1},
                                         ScreenshotStyle{"DejaVu Sans Mono", 11, false, 2},
                                         ScreenshotStyle{"DejaVu Serif", 13, true, 2}),
                         [](const auto& info) {
                             std::string name = info.param.font + (info.param.dark ? "Dark" : "");
                             std::erase(name, ' ');
                             return name + std::to_string(
                                               int(info.param.pointSize * 10 + info.param.scale));
                         });

TEST(TesseractRecognizerTest, CardsAddressesAndKeysAreFoundByTheirRules) {
    const Screenshot shot = Screenshot::paint(
        {"Card 4111 1111 1111 1111 expires 09/29", "Server 192.168.10.24 gateway fe80::1",
         "secret = wJalrXUtnFEMI/K7MDENG/bPxRfiCYEXAMPLEKEY"},
        ScreenshotStyle{"DejaVu Sans Mono", 11, true, 1}, 640, 140);
    const auto outcome = recognizer().recognize(shot.image());
    ASSERT_FALSE(outcome.failed());
    for (auto [rule, expected] : {std::pair{RedactionRules::CREDIT_CARDS, 1u},
                                  {RedactionRules::IP_ADDRESSES, 2u},
                                  {RedactionRules::API_KEYS, 1u}}) {
        EXPECT_EQ(TextDetection::rectsForPattern(rule.pattern, outcome.observations,
                                                 shot.image().width, shot.image().height)
                      .size(),
                  expected)
            << rule.pattern;
    }
}

// Light text in a dark header above a light page (and dark text below it) is turned the right
// way for the engine region by region, not once for the whole picture.
TEST(TesseractRecognizerTest, AddressesInADarkHeaderAboveALightPageAreFound) {
    const Screenshot header =
        Screenshot::paint({"Signed in as dana.whitfield@example.com"},
                          ScreenshotStyle{"DejaVu Sans", 11, true, 1}, 640, 60);
    const Screenshot page = Screenshot::paint(
        {"Invoices for March", "Ask billing@northwind.io for copies of older invoices",
         "Payments are due within thirty days", "Totals include tax where it applies"},
        ScreenshotStyle{"DejaVu Sans", 11, false, 1}, 640, 200);
    RgbaImage both(640, header.image().height + page.image().height);
    std::copy(header.image().pixels.begin(), header.image().pixels.end(), both.pixels.begin());
    std::copy(page.image().pixels.begin(), page.image().pixels.end(),
              both.pixels.begin() + static_cast<std::ptrdiff_t>(header.image().pixels.size()));
    const auto outcome = recognizer().recognize(both);
    ASSERT_FALSE(outcome.failed());
    EXPECT_EQ(TextDetection::rectsForPattern(RedactionRules::EMAILS.pattern, outcome.observations,
                                             both.width, both.height)
                  .size(),
              2u);
}

// Lines are shared among engines on several threads; each is read once, in its place: the same
// reading as with one engine. Concurrent calls each get their engines.
TEST(TesseractRecognizerTest, ThreadsAndConcurrentCallsReadEveryLineOnceInOrder) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 20; ++i) {
        lines.push_back("Row " + std::to_string(i) + " of the deployment table");
    }
    const Screenshot tall = Screenshot::paint(lines, ScreenshotStyle{}, 420, 720);
    TesseractRecognizer::Options options;
    options.threads = 1;
    TesseractRecognizer whole(options);
    options.threads = 3;
    TesseractRecognizer banded(options);
    ASSERT_EQ(readLines(whole, tall).size(), lines.size());
    EXPECT_EQ(readLines(banded, tall), readLines(whole, tall));

    const Screenshot shot =
        Screenshot::paint({"First line of text", "Second line here"}, ScreenshotStyle{}, 400, 100);
    auto first = std::async(std::launch::async, [&] { return readLines(recognizer(), shot); });
    auto second = std::async(std::launch::async, [&] { return readLines(recognizer(), shot); });
    const auto expected = readLines(whole, shot);
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_EQ(first.get(), expected);
    EXPECT_EQ(second.get(), expected);
}

TEST(TesseractRecognizerTest, FailuresAreReportedNotThrown) {
    EXPECT_TRUE(recognizer().recognize(RgbaImage()).failed());
    TesseractRecognizer::Options missing;
    missing.dataPath = "/nonexistent";
    const auto outcome = TesseractRecognizer(missing).recognize(
        Screenshot::paint({"text"}, ScreenshotStyle{}, 100, 40).image());
    ASSERT_TRUE(outcome.failed());
    EXPECT_NE(outcome.error->find("eng"), std::string::npos);
    // A blank image is no failure, just no text.
    EXPECT_TRUE(
        readLines(recognizer(), Screenshot::paint({}, ScreenshotStyle{}, 200, 100)).empty());
}
