#include "editor/ImageLoadPipeline.h"

#include "base/Base64.h"
#include "export/ImageReader.h"
#include "support/EditorFixture.h"
#include "support/ImageFiles.h"

#include <gtest/gtest.h>

using namespace lumeris;

// Canvas sizes, the balanced crop, file names, the watermark's date, redaction and wrapping are
// pinned end to end (RenderCommandTest, RenderRedactionTest); these tests cover what the command
// line cannot show.
namespace {

class ImageLoadPipelineTest : public SettingsFixture {
protected:
    std::chrono::system_clock::time_point capturedDate = std::chrono::system_clock::now();

    PreparedImage load(const RgbaImage& image) {
        std::string error;
        auto prepared = ImageLoadPipeline::load(writePng(image, folder / "shot.png"), settings,
                                                capturedDate, &error);
        EXPECT_TRUE(prepared.has_value()) << error;
        return prepared ? std::move(*prepared) : PreparedImage{};
    }
};

} // namespace

TEST_F(ImageLoadPipelineTest, ValuesFollowTheSettingsAndTheWorkingImageTravelsAsFileOrBase64) {
    settings.set("settings.padding", 64.0);
    settings.set("settings.inset-balance", false);
    PreparedImage prepared = load(screenshot(800, 600, 40));
    EXPECT_EQ(prepared.values.paddingValue, 64);
    EXPECT_EQ(prepared.values.backgroundID, "rain");
    EXPECT_EQ(prepared.currentImage.image.width, 800); // balancing off: the band stays
    // A plain PNG is shown as it is; once the working image differs, it travels as Base64.
    EXPECT_EQ(prepared.imageUrl, "file://" + (folder / "shot.png").string());
    EXPECT_EQ(prepared.strBase64, "");
    EXPECT_NE(ImageLoadPipeline::document(prepared, "", {}, {}).find(prepared.imageUrl),
              std::string::npos);
    prepared.currentImage.image.at(0, 0)[0] ^= 1;
    ImageLoadPipeline::encodeCurrentImage(prepared);
    EXPECT_EQ(prepared.imageUrl, "");
    auto png = Base64::decode(prepared.strBase64);
    ASSERT_TRUE(png.has_value());
    auto decoded = ImageReader::readData(png->data(), png->size());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->image, prepared.currentImage.image);

    settings.set("settings.show-watermark", false);
    prepared.values.updateValuesFromControls(settings, capturedDate);
    EXPECT_EQ(prepared.values.shownWatermark(), "");
}

TEST_F(ImageLoadPipelineTest, WindowCapturesAndBandlessScreenshotsOverrideTheSliders) {
    settings.set("settings.border-radius", 30.0);
    RgbaImage window = screenshot(300, 200, 0);
    for (auto [x, y] : {std::pair{0, 0}, {299, 0}, {0, 199}, {299, 199}}) {
        window.at(x, y)[3] = 0;
    }
    PreparedImage capture = load(window);
    EXPECT_TRUE(capture.values.useWindowBorder);
    EXPECT_EQ(capture.values.borderRadiusValue, CompositionValues::WINDOW_BORDER_RADIUS);

    PreparedImage busy = load(screenshot(300, 200, 0));
    EXPECT_EQ(busy.values.borderRadiusValue, 30);
    EXPECT_FALSE(busy.values.insetEnabled);
    EXPECT_EQ(busy.values.insetValue, 0);
}
