#include "analysis/ImageSize.h"

#include <gtest/gtest.h>

using lumeris::ImageSize;

namespace {

struct Computed {
    ImageSize size;
    std::string printed;
};

Computed compute(int inset, int padding, const std::string& ratio, const std::string& watermark,
                 double width, double height) {
    testing::internal::CaptureStdout();
    ImageSize size(inset, padding, ratio, watermark, width, height);
    return {size, testing::internal::GetCapturedStdout()};
}

// Inset 20, padding 100 and no watermark around a screenshot of the given height give an
// automatic canvas of 1040 x (height + 240).
Computed withAutomaticCanvas(const std::string& ratio, double height = 600) {
    return compute(20, 100, ratio, "", 800, height);
}

} // namespace

TEST(ImageSize, AutomaticCanvas) {
    auto [size, printed] = compute(20, 100, "auto", "", 800, 600);
    EXPECT_EQ(size.effectiveWidth, 800.0);
    EXPECT_EQ(size.effectiveHeight, 600.0);
    EXPECT_EQ(size.bgWidth, 1040.0);
    EXPECT_EQ(size.bgHeight, 840.0);
    EXPECT_EQ(size.ratio, 1040.0 / 840.0);
    EXPECT_EQ(size.minWindowWidth, 1390.0);
    EXPECT_EQ(size.minWindowHeight, 990.0);
    EXPECT_EQ(printed, "ImageSize: double check: ratioValue: auto actual: 1.2380952380952381, "
                       "error: 0.0\n");
}

TEST(ImageSize, WatermarkAddsItsLine) {
    EXPECT_EQ(compute(20, 100, "auto", "by me", 800, 600).size.bgHeight, 865.0);
    EXPECT_EQ(compute(20, 100, "auto", "", 800, 600).size.bgHeight, 840.0);
}

TEST(ImageSize, WideScreenshotsAreLaidOutAtTheMaximumWidth) {
    auto [size, printed] = compute(0, 0, "auto", "", 3000, 1500);
    EXPECT_EQ(size.effectiveWidth, 2000.0);
    EXPECT_EQ(size.effectiveHeight, 1000.0);
    // The window never grows beyond its maximum.
    EXPECT_EQ(size.minWindowWidth, 1500.0);
    EXPECT_EQ(size.minWindowHeight, 1000.0);
}

TEST(ImageSize, SquareRatioTakesTheLongerSide) {
    auto [size, printed] = withAutomaticCanvas("1:1");
    EXPECT_EQ(size.bgWidth, 1040.0);
    EXPECT_EQ(size.bgHeight, 1040.0);
    EXPECT_EQ(size.ratio, 1.0);
}

TEST(ImageSize, WiderRatioGrowsTheWidthToAWholeNumber) {
    auto [size, printed] = withAutomaticCanvas("16:9");
    EXPECT_EQ(size.bgHeight, 846.0);
    EXPECT_EQ(size.bgWidth, 1504.0);
    EXPECT_EQ(size.ratio, 16.0 / 9.0);
    EXPECT_EQ(printed.substr(0, printed.find('\n')), "ImageSize: heightAdjustment: 6.0");

    auto fourThirds = withAutomaticCanvas("4:3", 760); // automatic canvas 1040 x 1000
    EXPECT_EQ(fourThirds.size.bgHeight, 1002.0);
    EXPECT_EQ(fourThirds.size.bgWidth, 1336.0);
}

TEST(ImageSize, TallerRatioGrowsTheHeight) {
    auto [size, printed] = withAutomaticCanvas("9:16");
    EXPECT_EQ(size.bgWidth, 1044.0);
    EXPECT_EQ(size.bgHeight, 1856.0);
    EXPECT_EQ(printed.substr(0, printed.find('\n')), "ImageSize: widthAdjustment: 4.0");
    EXPECT_EQ(size.minWindowHeight, 1000.0);
}

TEST(ImageSize, ExactSizeIgnoresTheScreenshot) {
    for (double width : {100.0, 800.0, 5000.0}) {
        auto [size, printed] = compute(20, 100, "1200x675", "wm", width, 600);
        EXPECT_EQ(size.bgWidth, 1200.0);
        EXPECT_EQ(size.bgHeight, 675.0);
        EXPECT_EQ(size.ratio, 1200.0 / 675.0);
    }
}

TEST(ImageSize, MalformedRatiosUseTheAutomaticTargetThroughTheRatioBranch) {
    for (const char* ratio : {"16:x9", "a:b", "1:2:3", "16:"}) {
        auto [size, printed] = withAutomaticCanvas(ratio);
        EXPECT_EQ(size.bgWidth, 1040.0) << ratio;
        EXPECT_EQ(size.bgHeight, 840.0) << ratio;
        EXPECT_EQ(size.ratio, 1040.0 / 840.0) << ratio;
        EXPECT_NE(printed.find("ImageSize: heightAdjustment: 0.0"), std::string::npos) << ratio;
    }
    // Empty pieces are dropped, so a doubled separator still reads as two numbers.
    EXPECT_EQ(withAutomaticCanvas("16::9").size.bgWidth, 1504.0);
}

TEST(ImageSize, UnusableRatiosAreTreatedAsAutomatic) {
    for (const char* ratio : {"0:5", "16:0", "16x0", "0x9", "-4:3", "99999999999999999999:1",
                              "9000000000000000000:1", "", "wide", "16/9"}) {
        auto [size, printed] = withAutomaticCanvas(ratio);
        EXPECT_EQ(size.bgWidth, 1040.0) << ratio;
        EXPECT_EQ(size.bgHeight, 840.0) << ratio;
        EXPECT_EQ(size.ratio, 1040.0 / 840.0) << ratio;
    }
}

TEST(ImageSize, FractionalCanvasIsReported) {
    auto [size, printed] = compute(0, 0, "auto", "", 333, 100.5);
    EXPECT_NE(printed.find("ImageSize: ⚠️ fraction size warning: width: 333.0 x 100.5\n"),
              std::string::npos);
    EXPECT_EQ(withAutomaticCanvas("auto").printed.find("fraction"), std::string::npos);
}

TEST(ImageSize, EmptyScreenshotDoesNotPoisonTheCanvas) {
    auto [size, printed] = compute(20, 100, "auto", "", 0, 0);
    EXPECT_EQ(size.bgWidth, 240.0);
    EXPECT_EQ(size.bgHeight, 240.0);
}
