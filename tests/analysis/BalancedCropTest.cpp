#include "analysis/BalancedCrop.h"

#include "analysis/ImageCrop.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

RgbaImage opaque(int width, int height) {
    RgbaImage image(width, height);
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) {
        image.pixels[i] = 255;
    }
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
    LoadedImage image{opaque(200, 100), 100, 50};
    image.image.at(40, 79)[1] = 77;
    auto cropped = BalancedCrop::balancedCrop(image, EdgeInsets{40, 20, 20, 20});
    ASSERT_TRUE(cropped);
    // x = 20 - 10 = 10 pt, y = 10 - 10 = 0, width = floor(70 + 20) = 90, height = 50.
    EXPECT_EQ(cropped->pointWidth, 90);
    EXPECT_EQ(cropped->pointHeight, 50);
    EXPECT_EQ(cropped->image.width, 180);
    EXPECT_EQ(cropped->image.at(20, 79)[1], 77);
}

TEST(ImageCrop, DropsWhatLiesOutsideTheImage) {
    LoadedImage image{opaque(20, 10), 20, 10};
    image.image.at(0, 9)[1] = 9; // bottom-left pixel
    auto corner = ImageCrop::crop(image, Rect{-5, -5, 10, 10});
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->image.width, 5);
    EXPECT_EQ(corner->image.height, 5);
    EXPECT_EQ(corner->image.at(0, 4)[1], 9);
    for (const Rect& nothing : {Rect{30, 0, 5, 5}, Rect{0, 0, 0, 5}}) {
        EXPECT_FALSE(ImageCrop::crop(image, nothing));
    }
    EXPECT_FALSE(ImageCrop::crop(LoadedImage{}, Rect{0, 0, 5, 5}));
}
