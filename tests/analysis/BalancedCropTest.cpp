#include "analysis/BalancedCrop.h"

#include "analysis/ImageCrop.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

// Opaque white, with a green channel of `mark` at (x, y).
LoadedImage marked(int width, int height, double pointWidth, int x, int y, std::uint8_t mark) {
    LoadedImage image{RgbaImage(width, height), pointWidth, pointWidth * height / width};
    std::ranges::fill(image.image.pixels, 255);
    image.image.at(x, y)[1] = mark;
    return image;
}

} // namespace

TEST(BalancedCrop, LeavesTenPointMargins) {
    const std::tuple<double, double, EdgeInsets, double, Rect> cases[] = {
        {800, 600, {100, 101, 60, 61}, 2, {40, 20, 719, 559}},
        {300, 200, {50, 31, 40, 21}, 1, {40, 11, 239, 159}},
        // Narrow bands keep what there is.
        {300, 200, {4, 5, 3, 2}, 1, {0, 0, 300, 200}},
    };
    for (const auto& [width, height, insets, scale, expected] : cases) {
        EXPECT_EQ(BalancedCrop::balancedCropRect(width, height, insets, scale), expected) << width;
    }
}

TEST(BalancedCrop, KeepsPixelDensityAndCountsYFromTheBottom) {
    // 200 × 100 pixels at scale 2: a band of 40 px left, 20 px elsewhere, with a marker pixel
    // in the bottom-left of the content.
    auto cropped =
        BalancedCrop::balancedCrop(marked(200, 100, 100, 40, 79, 77), EdgeInsets{40, 20, 20, 20});
    ASSERT_TRUE(cropped);
    // x = 20 - 10 = 10 pt, y = 10 - 10 = 0, width = floor(70 + 20) = 90, height = 50.
    EXPECT_EQ(std::tuple(cropped->pointWidth, cropped->pointHeight, cropped->image.width),
              std::tuple(90, 50, 180));
    EXPECT_EQ(cropped->image.at(20, 79)[1], 77);
}

TEST(ImageCrop, DropsWhatLiesOutsideTheImage) {
    LoadedImage image = marked(20, 10, 20, 0, 9, 9); // marks the bottom-left pixel
    auto corner = ImageCrop::crop(image, Rect{-5, -5, 10, 10});
    ASSERT_TRUE(corner);
    EXPECT_EQ(std::pair(corner->image.width, corner->image.height), std::pair(5, 5));
    EXPECT_EQ(corner->image.at(0, 4)[1], 9);
    for (const Rect& nothing : {Rect{30, 0, 5, 5}, Rect{0, 0, 0, 5}}) {
        EXPECT_FALSE(ImageCrop::crop(image, nothing));
    }
    EXPECT_FALSE(ImageCrop::crop(LoadedImage{}, Rect{0, 0, 5, 5}));
}
