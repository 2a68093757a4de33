// The render command end to end with recognition: what it redacts is gone from the output, and
// smart wrap turns a long line into a narrow block.
#include "ScreenshotPainter.h"
#include "TemporaryFolder.h"
#include "export/ImageReader.h"
#include "platform/TesseractRecognizer.h"
#include "support/ImageFiles.h"
#include "support/RunLumeris.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

// Renders `lines` painted as a `width` × `height` screenshot on a transparent background, plus
// `extra` arguments; the recognised text and width and height of the result.
struct Rendered {
    std::string text;
    int width = 0, height = 0;
};
Rendered render(const std::vector<std::string>& lines, int width, int height,
                std::vector<std::string> extra, const ScreenshotStyle& style = {}) {
    TemporaryFolder home;
    const std::string input =
        writePng(Screenshot::paint(lines, style, width, height).image(), home / "in.png");
    std::vector<std::string> arguments{"render", input,
                                       "-o",     (home / "out.png").string(),
                                       "--set",  "settings.background-id=transparent"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    LumerisRun run = runLumeris(arguments, home.path());
    EXPECT_EQ(run.status, 0) << run.err;
    auto out = ImageReader::read(home / "out.png");
    if (!out) {
        return {};
    }
    TesseractRecognizer recognizer;
    return {recognizedText(recognizer, out->image), out->image.width, out->image.height};
}

} // namespace

// Light only: dark themes are recognition's concern, tested on their own.
TEST(RenderRedactionTest, RedactedAddressIsGoneWhileTheRestStaysReadable) {
    const std::vector<std::string> lines{
        "Deployment report", "Contact maria.lopez@example.com for access", "Status: green"};
    const Rendered kept = render(lines, 640, 160, {"--set", "settings.auto-redact=false"});
    EXPECT_NE(kept.text.find("maria.lopez@example.com"), std::string::npos) << kept.text;

    const std::string text = render(lines, 640, 160, {}).text;
    EXPECT_EQ(text.find("maria"), std::string::npos) << text;
    EXPECT_EQ(text.find("example.com"), std::string::npos) << text;
    EXPECT_NE(text.find("Deployment report"), std::string::npos) << text;
    EXPECT_NE(text.find("for access"), std::string::npos) << text;
}

TEST(RenderRedactionTest, WrapLaysALongLineOutInANarrowBlock) {
    const Rendered out = render({"error: cannot open the configuration file because the folder "
                                 "holding it was removed while the service ran"},
                                1400, 60, {"--wrap", "--set", "settings.auto-redact=false"});
    // 600 wide, framed by the band colour's inset of 20 and the padding of 100.
    EXPECT_EQ(out.width, 600 + 2 * 120);
    EXPECT_GT(out.height, 60 + 2 * 120 + 25);
    for (const char* word : {"configuration", "removed", "service"}) {
        EXPECT_NE(out.text.find(word), std::string::npos) << word << " in " << out.text;
    }
}

// Every kind switched on, dark text at the size that was missed before, on a canvas that shrinks
// the picture: nothing of any item can be read back.
TEST(RenderRedactionTest, EveryKindStaysCoveredOnAShrinkingCanvas) {
    const std::vector<std::string> secrets{"4111 1111 1111 1111", "maria.lopez@mailhost.org",
                                           "192.168.20.17",
                                           "ghp7Rk2sX9vQw3LmN8bT4yHc6JdF1aZe5UoP0iK"};
    std::vector<std::string> lines{"Billing settings"};
    for (const auto& secret : secrets) {
        lines.push_back("Value " + secret + " saved");
    }
    std::vector<std::string> arguments{"--set", "settings.ratio=1200x675"};
    for (const char* kind : {"emails", "credit-cards", "ip-addresses", "api-keys"}) {
        arguments.insert(arguments.end(),
                         {"--set", std::string("settings.auto-redact.") + kind + "=true"});
    }
    const Rendered out = render(lines, 700, 900, arguments, {"DejaVu Sans", 12, true, 1});
    EXPECT_EQ(out.width, 1200);
    std::string text;
    for (char c : out.text) {
        if (c != ' ') {
            text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    for (std::string secret : secrets) {
        std::erase(secret, ' ');
        for (auto& c : secret) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        for (std::size_t i = 0; i + 4 <= secret.size(); ++i) {
            EXPECT_EQ(text.find(secret.substr(i, 4)), std::string::npos)
                << secret.substr(i, 4) << " of " << secret << " in " << out.text;
        }
    }
}
