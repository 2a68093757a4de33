#include "analysis/ImageSize.h"

#include "base/Diagnostics.h"

#include <gtest/gtest.h>

using lumeris::Diagnostics;
using lumeris::ImageSize;

namespace {

// The size and what it printed.
std::pair<ImageSize, std::string> compute(int inset, int padding, const std::string& ratio,
                                          double width, double height,
                                          const std::string& watermark = "") {
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
        {"1000x500", 4000, "", 1000, 500}, // whatever the screenshot's size
        {"16::9", 600, "", 1504, 846},     // empty pieces are dropped
    };
    for (const auto& c : cases) {
        const ImageSize size = compute(20, 100, c.ratio, 800, c.height, c.watermark).first;
        EXPECT_EQ(std::tuple(size.bgWidth, size.bgHeight, size.ratio),
                  std::tuple(c.bgWidth, c.bgHeight, c.bgWidth / c.bgHeight))
            << c.ratio;
    }
    // Malformed or unusable ratios fall back to the automatic canvas.
    for (const char* ratio : {"16:x9", "1:2:3", "16:", "0:5", "16x0", "-4:3", "", "16/9",
                              "99999999999999999999:1", "9000000000000000000:1"}) {
        const ImageSize size = compute(20, 100, ratio, 800, 600).first;
        EXPECT_EQ(std::pair(size.bgWidth, size.bgHeight), std::pair(1040.0, 840.0)) << ratio;
    }
    EXPECT_EQ(compute(20, 100, "auto", 0, 0).first.bgHeight, 240.0);
}

TEST(ImageSize, WindowAndLayoutLimits) {
    auto [size, printed] = compute(20, 100, "auto", 800, 600);
    EXPECT_EQ(std::tuple(size.effectiveWidth, size.minWindowWidth, size.minWindowHeight),
              std::tuple(800, 1390, 990));
    EXPECT_EQ(printed, "ImageSize: double check: ratioValue: auto actual: 1.2380952380952381, "
                       "error: 0.0\n");
    EXPECT_EQ(compute(20, 100, "9:16", 800, 600).first.minWindowHeight, 1000.0);
    // Wide screenshots are laid out at the maximum width; the window stops at its maximum.
    size = compute(0, 0, "auto", 3000, 1500).first;
    EXPECT_EQ(std::tuple(size.effectiveWidth, size.effectiveHeight, size.minWindowWidth,
                         size.minWindowHeight),
              std::tuple(2000, 1000, 1500, 1000));
}

TEST(ImageSize, AdjustmentsAndFractionsAreReported) {
    for (auto [ratio, line] : {std::pair{"16:9", "heightAdjustment: 6.0"},
                               {"9:16", "widthAdjustment: 4.0"},
                               {"a:b", "heightAdjustment: 0.0"}}) {
        EXPECT_TRUE(compute(20, 100, ratio, 800, 600)
                        .second.starts_with(std::string("ImageSize: ") + line + "\n"))
            << ratio;
    }
    EXPECT_NE(compute(0, 0, "auto", 333, 100.5)
                  .second.find("ImageSize: ⚠️ fraction size warning: width: 333.0 x 100.5\n"),
              std::string::npos);
}
