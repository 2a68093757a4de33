#include "editor/ImageLoadPipeline.h"

#include "TemporaryFolder.h"
#include "analysis/TextRecognizer.h"
#include "base/Base64.h"
#include "base/Diagnostics.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"
#include "fakes/FakeTextRecognizer.h"
#include "settings/SettingsStore.h"
#include "support/FakeText.h"
#include "support/ImageFiles.h"

#include <ctime>
#include <fstream>
#include <gtest/gtest.h>

using namespace lumeris;

namespace {

class ImageLoadPipelineTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    SettingsStore settings{folder / "settings.json", SettingsStore::Persistence::InMemory};
    std::chrono::system_clock::time_point capturedDate = std::chrono::system_clock::now();

    void SetUp() override {
        settings.registerDefaultSettings(StandardFolders{folder / "Archives", folder / "Desktop"});
    }

    std::filesystem::path write(const RgbaImage& image) {
        return writePng(image, folder / "shot.png");
    }

    PreparedImage load(const RgbaImage& image) {
        std::string error;
        auto prepared = ImageLoadPipeline::load(write(image), settings, capturedDate, &error);
        EXPECT_TRUE(prepared.has_value()) << error;
        return prepared ? std::move(*prepared) : PreparedImage{};
    }
};

} // namespace

TEST_F(ImageLoadPipelineTest, DefaultLoadNamesEncodesAndReadsTheStoredLook) {
    settings.set("settings.padding", 64.0);
    settings.set("settings.watermark-text", std::string("Shot {date:yyyy}"));
    PreparedImage prepared = load(screenshot(800, 600, 0));

    EXPECT_EQ(prepared.fileName.rfind("Lumeris-", 0), 0U);
    EXPECT_EQ(prepared.fileName.substr(prepared.fileName.size() - 4), ".png");
    EXPECT_EQ(prepared.values.paddingValue, 64);
    EXPECT_EQ(prepared.values.backgroundID, "rain");
    std::time_t now = std::chrono::system_clock::to_time_t(capturedDate);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(prepared.values.shownWatermark(), "Shot " + std::to_string(1900 + local.tm_year));

    // The working image travels as PNG in Base64 and reads back unchanged.
    auto png = Base64::decode(prepared.strBase64);
    ASSERT_TRUE(png.has_value());
    auto decoded = ImageReader::readData(png->data(), png->size());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->image.pixels, prepared.currentImage.image.pixels);

    // No settings key for the ratio yet: the canvas is the picture plus its frame.
    ImageSize canvas = ImageLoadPipeline::canvas(prepared);
    const int inset = prepared.values.insetValue;
    EXPECT_DOUBLE_EQ(canvas.bgWidth, 800 + 2 * (64 + inset));
    EXPECT_DOUBLE_EQ(canvas.bgHeight, 600 + 2 * (64 + inset) + ImageSize::WATERMARK_HEIGHT);

    settings.set("settings.show-watermark", false);
    prepared.values.updateValuesFromControls(settings, capturedDate);
    EXPECT_EQ(prepared.values.shownWatermark(), "");
}

TEST_F(ImageLoadPipelineTest, UniformMarginIsBalancedOnlyWhileBalancingIsOn) {
    PreparedImage balanced = load(screenshot(800, 600, 40));
    ASSERT_TRUE(balanced.values.insetBackgroundDetected);
    EXPECT_EQ(balanced.values.borderColor, "#EBEBEB");
    // 10 points of the band are left on each side (the right and bottom counts run one short).
    EXPECT_EQ(balanced.currentImage.image.width, 739);
    EXPECT_EQ(balanced.currentImage.image.height, 539);
    EXPECT_EQ(balanced.currentImage.image.at(0, 0)[0], 235);
    EXPECT_NE(balanced.currentImage.image.at(10, 10)[0], 235);

    settings.set("settings.inset-balance", false);
    PreparedImage original = load(screenshot(800, 600, 40));
    EXPECT_EQ(original.currentImage.image.width, 800);
    EXPECT_EQ(original.currentImage.image.height, 600);
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

TEST_F(ImageLoadPipelineTest, UnreadableFileIsNamedInTheError) {
    std::ofstream(folder / "notes.png") << "hello";
    std::string error;
    EXPECT_FALSE(ImageLoadPipeline::load(folder / "notes.png", settings, capturedDate, &error));
    EXPECT_EQ(error, ImageReader::NOT_AN_IMAGE);
}

TEST_F(ImageLoadPipelineTest, DetectedAddressIsRedactedInTheDocument) {
    PreparedImage prepared = load(screenshot(800, 600, 0));
    TextRecognitionOutcome outcome;
    outcome.observations.push_back(
        monospacedLine("mail me at a@example.com now", 10, 500, 10, 20, 800, 600));
    FakeTextRecognizer recognizer(outcome);
    auto detection = ImageLoadPipeline::detectText(prepared, recognizer, settings);
    ASSERT_TRUE(detection.has_value());
    ASSERT_EQ(detection->redactRects.size(), 1U);
    EXPECT_THAT(detection->redactRects[0], RectNear(Rect{120, 500, 130, 20}));
    const std::string html =
        ImageLoadPipeline::document(prepared, "", detection->redactRects, detection->allTextRects);
    EXPECT_NE(html.find("class=\"text-rects redacted\""), std::string::npos);

    FakeTextRecognizer failing(TextRecognitionOutcome::failure("no engine"));
    std::string error;
    EXPECT_FALSE(ImageLoadPipeline::detectText(prepared, failing, settings, &error));
    EXPECT_EQ(error, "no engine");
}

TEST_F(ImageLoadPipelineTest, WrapReplacesTheWorkingImageOrLeavesItOnFailure) {
    PreparedImage prepared = load(screenshot(1600, 60, 0));
    FakeTextRecognizer failing(TextRecognitionOutcome::failure("no engine"));
    std::vector<std::string> said;
    auto previous = Diagnostics::setSink([&](const std::string& line) { said.push_back(line); });
    EXPECT_FALSE(ImageLoadPipeline::wrapText(prepared, failing, false));
    Diagnostics::setSink(previous);
    EXPECT_EQ(prepared.currentImage.image.width, 1600);
    // The failure is said through the diagnostics sink, never straight to standard output.
    ASSERT_EQ(said.size(), 1U);
    EXPECT_NE(said[0].find("no engine"), std::string::npos) << said[0];

    TextRecognitionOutcome outcome;
    std::string words;
    for (int i = 0; i < 20; ++i) {
        words += "word" + std::to_string(i % 10) + " ";
    }
    outcome.observations.push_back(monospacedLine(words, 0, 20, 12, 20, 1600, 60));
    FakeTextRecognizer reading(outcome);
    const std::string before = prepared.strBase64;
    ASSERT_TRUE(ImageLoadPipeline::wrapText(prepared, reading, false));
    EXPECT_EQ(prepared.currentImage.image.width, 600);
    EXPECT_GT(prepared.currentImage.image.height, 60);
    EXPECT_DOUBLE_EQ(prepared.currentImage.pointWidth, 600);
    EXPECT_NE(prepared.strBase64, before);
}
