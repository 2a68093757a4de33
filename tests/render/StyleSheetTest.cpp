#include "TemporaryFolder.h"
#include "base/Base64.h"
#include "export/ImageReader.h"
#include "render/BackgroundPictures.h"
#include "render/EditorDocument.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using lumeris::BackgroundPictures;
using lumeris::EditorDocument;
using lumeris::StyleSheetInputs;

namespace {

// The pictures of these tests: any file named like a picture id "encodes" to "AQID".
class StyleSheetTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    int encodings = 0;
    BackgroundPictures pictures{folder.path(), [this](const std::filesystem::path&) {
                                    ++encodings;
                                    return std::string("AQID");
                                }};

    static StyleSheetInputs defaults() {
        StyleSheetInputs in;
        in.borderRadius = 10, in.padding = 40, in.inset = 20, in.shadow = 25;
        in.watermarkText = "Hello", in.backgroundID = "transparent", in.ratio = "auto";
        in.imageWidth = 1000, in.imageHeight = 600;
        return in;
    }
    std::string css(const StyleSheetInputs& in) { return EditorDocument::styleSheet(in, pictures); }
};

} // namespace

// Each case changes the defaults and names a fragment the style sheet must then hold (background
// cases: the whole rest of the .background rule). The fixed rules are left to the pixel tests.
TEST_F(StyleSheetTest, FragmentsFollowTheirInputs) {
    const std::string cover = "\nbackground-size: cover;\nbackground-position: center center;";
    const auto rule = [](const std::string& declarations) {
        return "  padding: 40px;\n  " + declarations + "\n}\n\n.wrapper";
    };
    struct Case {
        const char* what;
        std::function<void(StyleSheetInputs&)> change;
        std::string fragment;
    };
    const std::vector<Case> cases = {
        {"defaults", [](auto&) {}, "  aspect-ratio: 1040.0 / 665.0;\n"},
        {"defaults", [](auto&) {},
         "  border-radius: 10px;\n  box-shadow: 0 1.0px 2.0px rgba(0,0,0,0.1),\n"},
        {"defaults", [](auto&) {}, "  left: 0;\n  padding: 20px;\n  pointer-events: none;\n}"},
        {"defaults", [](auto&) {}, "img {\n  max-width: 1000.0px;\n"},
        {"defaults", [](auto&) {}, "  height: 15px;\n  width: 100%;\n  z-index: 100;\n  \n}"},
        {"watermark on the right", [](auto&) {}, "  text-align: right;\n"},
        {"redaction colour", [](auto& in) { in.redactColor = "#ff0000"; },
         ".rects svg rect {\n  fill: #ff0000 !important;\n}"},
        {"inset on", [](auto& in) { in.insetEnabled = true, in.borderColor = "#FAFAFA"; },
         "  padding: 20px;\n  overflow: hidden;\n  background: #FAFAFA;\n  transform-style"},
        {"shadow 0", [](auto& in) { in.shadow = 0; },
         "  box-shadow: 0 0.0px 0.0px rgba(0,0,0,0.05),\n"},
        {"shadow 100", [](auto& in) { in.shadow = 100; },
         "              0 128.0px 256.0px rgba(0,0,0,0.25);\n"},
        // The order of operations shows in the text: alpha 0.11600000000000002, not 0.116.
        {"shadow 33", [](auto& in) { in.shadow = 33; },
         "  box-shadow: 0 1.32px 2.64px rgba(0,0,0,0.11600000000000002),\n"},
        {"no watermark", [](auto& in) { in.watermarkText.clear(); },
         "  aspect-ratio: 1040.0 / 640.0;\n"},
        {"hidden watermark", [](auto& in) { in.watermarkText.clear(); },
         "  z-index: 100;\n  display: none;\n}"},
        {"tilt", [](auto& in) { in.tiltX = 0, in.tiltY = 30; },
         "  transform: perspective(500px) rotateX(-15deg) rotateY(15deg);\n"},
        {"no redaction colour", [](auto& in) { in.redactColor = ""; },
         ".rects svg rect {\n  fill: black !important;\n}"},
        {"translucent redaction colour", [](auto& in) { in.redactColor = "rgba(0,0,0,0.1)"; },
         ".rects svg rect {\n  fill: black !important;\n}\n\n.rects svg rect.redacted {\n"
         "  fill-opacity: 1 !important;"},
        {"inset off", [](auto& in) { in.insetEnabled = false, in.borderColor = "#123456"; },
         "  overflow: hidden;\n  background: transparent;\n  transform-style"},
        {"wide picture", [](auto& in) { in.imageWidth = 2880, in.imageHeight = 1800; },
         "img {\n  max-width: 2000.0px;\n"},
        {"desktop without picture", [](auto& in) { in.backgroundID = "desktop"; }, rule("")},
        {"transparent", [](auto&) {}, rule("background: transparent;")},
        {"cool", [](auto& in) { in.backgroundID = "cool"; },
         rule("background-color: #0093E9;\nbackground-image: linear-gradient(160deg, #0093E9 0%, "
              "#80D0C7 100%);")},
        {"desktop picture",
         [](auto& in) { in.backgroundID = "desktop", in.desktopBackgroundURL = "/home/u/d.png"; },
         rule("background-image: url(\"/home/u/d.png\");" + cover)},
        {"id outside the table", [](auto& in) { in.backgroundID = "plaid"; }, rule("")},
        {"custom plain", [](auto& in) { in.backgroundID = "custom", in.plainColor = "#336699"; },
         rule("background: #336699;")},
        {"custom gradient",
         [](auto& in) {
             in.backgroundID = "custom", in.bgColorOption = "gradient";
             in.gradientStart = "#ff0000", in.gradientStop = "#0000ff";
         },
         rule("background: linear-gradient(50deg, #ff0000 0%, #0000ff 100%);\n"
              "background: -webkit-linear-gradient(60deg, #ff0000 0%, #0000ff 100%);")},
        {"custom file missing",
         [](auto& in) { in.backgroundID = "custom", in.bgColorOption = "file"; },
         rule("background: transparent;")},
        {"custom file",
         [](auto& in) {
             in.backgroundID = "custom", in.bgColorOption = "file";
             in.customBackgroundURL = "/tmp/c.png?cacheID=custom-3";
         },
         rule("background-image: url(\"/tmp/c.png?cacheID=custom-3\");" + cover)},
    };
    for (const auto& c : cases) {
        StyleSheetInputs in = defaults();
        c.change(in);
        EXPECT_NE(css(in).find(c.fragment), std::string::npos) << c.what;
    }
}

// Shipped picture ids become data URLs, encoded once; a missing file keeps the bare prefix.
TEST_F(StyleSheetTest, PictureBackgroundsAreMemoisedDataUrls) {
    std::ofstream(folder / "love.jpg") << "x";
    StyleSheetInputs in = defaults();
    in.backgroundID = "love";
    const std::string expected = "  background-image: url(\"data:image/jpeg;base64,AQID\");\n"
                                 "background-size: cover;\nbackground-position: center center;\n}";
    EXPECT_NE(css(in).find(expected), std::string::npos);
    EXPECT_NE(css(in).find(expected), std::string::npos);
    in.backgroundID = "rain";
    EXPECT_NE(css(in).find("  background-image: url(\"data:image/jpeg;base64,\");\n"),
              std::string::npos);
    EXPECT_EQ(encodings, 1);
}

TEST_F(StyleSheetTest, ColourSettingsAreReadWithTheirFallbacks) {
    lumeris::SettingsStore settings(folder / "settings.json");
    StyleSheetInputs in;
    in.readColorSettings(settings);
    EXPECT_EQ(in.bgColorOption + in.plainColor + in.gradientStart + in.gradientStop,
              "plain#ffffff#ffffff#ffffff");
    for (auto [key, value] : {std::pair{"option", "gradient"},
                              {"plain", "#010203"},
                              {"gradient-start", "#ff0000"},
                              {"gradient-stop", "#0000ff"}}) {
        settings.set(std::string("settings.bg-color.") + key, std::string(value));
    }
    in.readColorSettings(settings);
    EXPECT_EQ(in.bgColorOption + in.plainColor + in.gradientStart + in.gradientStop,
              "gradient#010203#ff0000#0000ff");
}

// The shipped pictures go through the real decoder and JPEG encoder: a progressive JPEG of the
// whole picture; an unreadable file gives the bare prefix.
TEST(BackgroundPicturesTest, PicturesAreProgressiveJpegDataUrls) {
    const std::string url = BackgroundPictures::shared().dataURL("sky");
    const std::string prefix = BackgroundPictures::DATA_URL_PREFIX;
    ASSERT_EQ(url.substr(0, prefix.size()), prefix);
    auto jpeg = lumeris::Base64::decode(url.substr(prefix.size()));
    ASSERT_TRUE(jpeg.has_value());
    const std::vector<std::uint8_t> progressiveFrame = {0xFF, 0xC2};
    EXPECT_NE(std::ranges::search(*jpeg, progressiveFrame).begin(), jpeg->end());
    auto decoded = lumeris::ImageReader::readData(jpeg->data(), jpeg->size());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_GE(decoded->image.width, 1920);
    EXPECT_GE(decoded->image.height, 1080);

    TemporaryFolder folder;
    std::ofstream(folder.path() / "rain.jpg") << "not a picture";
    BackgroundPictures pictures(folder.path(), &BackgroundPictures::encodeFile);
    EXPECT_EQ(pictures.dataURL("rain"), prefix);
}
