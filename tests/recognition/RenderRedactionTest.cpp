// The render command end to end with recognition: what it redacts is gone from the output, and
// smart wrap turns a long line into a narrow block.
#include "ScreenshotPainter.h"
#include "TemporaryFolder.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"
#include "platform/TesseractRecognizer.h"
#include "support/ImageFiles.h"
#include "support/RunLumeris.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace lumeris;

namespace {

std::string readText(const RgbaImage& image) {
    TesseractRecognizer recognizer;
    return recognizedText(recognizer, image);
}

std::optional<LoadedImage> render(const TemporaryFolder& home, const std::string& input,
                                  std::vector<std::string> extra) {
    std::vector<std::string> arguments{"render", input,
                                       "-o",     (home / "out.png").string(),
                                       "--set",  "settings.background-id=transparent"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    LumerisRun run = runLumeris(arguments, home.path());
    EXPECT_EQ(run.status, 0) << run.err;
    return ImageReader::read(home / "out.png");
}

} // namespace

TEST(RenderRedactionTest, RedactedAddressIsGoneWhileTheRestStaysReadable) {
    TemporaryFolder home;
    // Light only: dark themes are recognition's concern, tested on their own.
    Screenshot shot = Screenshot::paint(
        {"Deployment report", "Contact maria.lopez@example.com for access", "Status: green"},
        ScreenshotStyle{}, 640, 160);
    const std::string input = writePng(shot.image(), home / "report.png");

    auto kept = render(home, input, {"--set", "settings.auto-redact=false"});
    ASSERT_TRUE(kept);
    EXPECT_NE(readText(kept->image).find("maria.lopez@example.com"), std::string::npos);

    auto redacted = render(home, input, {});
    ASSERT_TRUE(redacted);
    const std::string text = readText(redacted->image);
    EXPECT_EQ(text.find("maria"), std::string::npos) << text;
    EXPECT_EQ(text.find("example.com"), std::string::npos) << text;
    EXPECT_NE(text.find("Deployment report"), std::string::npos) << text;
    EXPECT_NE(text.find("for access"), std::string::npos) << text;
}

TEST(RenderRedactionTest, WrapLaysALongLineOutInANarrowBlock) {
    TemporaryFolder home;
    ScreenshotStyle style;
    Screenshot shot = Screenshot::paint({"error: cannot open the configuration file because the "
                                         "folder holding it was removed while the service ran"},
                                        style, 1400, 60);
    const std::string input = writePng(shot.image(), home / "line.png");
    auto out = render(home, input, {"--wrap", "--set", "settings.auto-redact=false"});
    ASSERT_TRUE(out);
    // 600 wide, framed by the band colour's inset of 20 and the padding of 100.
    EXPECT_EQ(out->image.width, 600 + 2 * 120);
    EXPECT_GT(out->image.height, 60 + 2 * 120 + 25);
    const std::string text = readText(out->image);
    for (const char* word : {"configuration", "removed", "service"}) {
        EXPECT_NE(text.find(word), std::string::npos) << word << " in " << text;
    }
}
