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
                std::vector<std::string> extra) {
    TemporaryFolder home;
    const std::string input = writePng(
        Screenshot::paint(lines, ScreenshotStyle{}, width, height).image(), home / "in.png");
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
