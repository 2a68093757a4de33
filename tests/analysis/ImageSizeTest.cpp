#include "analysis/ImageSize.h"

#include "base/Diagnostics.h"

#include <gtest/gtest.h>

using lumeris::Diagnostics;
using lumeris::ImageSize;

namespace {

struct Computed {
    ImageSize size;
    std::string printed;
};

Computed compute(int inset, int padding, const std::string& ratio, const std::string& watermark,
                 double width, double height) {
    std::string printed;
    auto previous = Diagnostics::setSink([&](const std::string& line) { printed += line + "\n"; });
    ImageSize size(inset, padding, ratio, watermark, width, height);
    Diagnostics::setSink(previous);
    return {size, printed};
}

} // namespace

// Inset 20 and padding 100 around 800 × 600 give an automatic canvas of 1040 × 840.
TEST(ImageSize, CanvasForEachKindOfRatio) {
    const struct {
        std::string ratio;
        double height;
        std::string watermark;
        double bgWidth, bgHeight;
    } cases[] = {
        {"auto", 600, "", 1040, 840},
        {"auto", 600, "by me", 1040, 865},
        {"1:1", 600, "", 1040, 1040},
        {"16:9", 600, "", 1504, 846},
        {"4:3", 760, "", 1336, 1002},
        {"9:16", 600, "", 1044, 1856},
        {"1200x675", 600, "wm", 1200, 675},
        {"16::9", 600, "", 1504, 846}, // empty pieces are dropped
        // Malformed or unusable ratios fall back to the automatic canvas.
        {"16:x9", 600, "", 1040, 840},
        {"1:2:3", 600, "", 1040, 840},
        {"16:", 600, "", 1040, 840},
        {"0:5", 600, "", 1040, 840},
        {"16x0", 600, "", 1040, 840},
        {"-4:3", 600, "", 1040, 840},
        {"99999999999999999999:1", 600, "", 1040, 840},
        {"9000000000000000000:1", 600, "", 1040, 840},
        {"", 600, "", 1040, 840},
        {"16/9", 600, "", 1040, 840},
    };
    for (const auto& c : cases) {
        const ImageSize size = compute(20, 100, c.ratio, c.watermark, 800, c.height).size;
        EXPECT_EQ(size.bgWidth, c.bgWidth) << c.ratio;
        EXPECT_EQ(size.bgHeight, c.bgHeight) << c.ratio;
        EXPECT_EQ(size.ratio, c.bgWidth / c.bgHeight) << c.ratio;
    }
    // An exact size ignores the screenshot.
    EXPECT_EQ(compute(20, 100, "1200x675", "", 5000, 600).size.bgWidth, 1200.0);
    EXPECT_EQ(compute(20, 100, "auto", "", 0, 0).size.bgHeight, 240.0);
}

TEST(ImageSize, WindowAndLayoutLimits) {
    auto [size, printed] = compute(20, 100, "auto", "", 800, 600);
    EXPECT_EQ(size.effectiveWidth, 800.0);
    EXPECT_EQ(size.minWindowWidth, 1390.0);
    EXPECT_EQ(size.minWindowHeight, 990.0);
    EXPECT_EQ(printed, "ImageSize: double check: ratioValue: auto actual: 1.2380952380952381, "
                       "error: 0.0\n");
    EXPECT_EQ(compute(20, 100, "9:16", "", 800, 600).size.minWindowHeight, 1000.0);

    // Wide screenshots are laid out at the maximum width; the window stops at its maximum.
    size = compute(0, 0, "auto", "", 3000, 1500).size;
    EXPECT_EQ(size.effectiveWidth, 2000.0);
    EXPECT_EQ(size.effectiveHeight, 1000.0);
    EXPECT_EQ(size.minWindowWidth, 1500.0);
    EXPECT_EQ(size.minWindowHeight, 1000.0);
}

TEST(ImageSize, AdjustmentsAndFractionsAreReported) {
    const auto firstLine = [](const std::string& ratio) {
        const std::string printed = compute(20, 100, ratio, "", 800, 600).printed;
        return printed.substr(0, printed.find('\n'));
    };
    EXPECT_EQ(firstLine("16:9"), "ImageSize: heightAdjustment: 6.0");
    EXPECT_EQ(firstLine("9:16"), "ImageSize: widthAdjustment: 4.0");
    EXPECT_EQ(firstLine("a:b"), "ImageSize: heightAdjustment: 0.0");
    EXPECT_NE(compute(0, 0, "auto", "", 333, 100.5)
                  .printed.find("ImageSize: ⚠️ fraction size warning: width: 333.0 x 100.5\n"),
              std::string::npos);
    EXPECT_EQ(compute(20, 100, "auto", "", 800, 600).printed.find("fraction"), std::string::npos);
}
