#include "render/ShadowPicture.h"

#include "TemporaryFolder.h"
#include "support/ImageFiles.h"

#include <gtest/gtest.h>

using lumeris::RgbaImage;
using lumeris::ShadowPicture;

namespace {

struct Case {
    int shadow;
    int radius;
    int scale;
};

int alphaAt(const RgbaImage& picture, int x, int y) {
    return picture.at(x, y)[3];
}

} // namespace

// What makes nine slices faithful: the middle strips do not change along their stretch, the box
// is cut out, and the offset only pushes the shadow down.
TEST(ShadowPictureTest, MiddleStripsStretchAndTheBoxIsCutOut) {
    for (const Case c : {Case{25, 10, 1}, Case{25, 10, 2}, Case{50, 40, 1}, Case{3, 0, 1}}) {
        SCOPED_TRACE(::testing::Message() << c.shadow << " " << c.radius << " x" << c.scale);
        const auto g = ShadowPicture::geometry(c.shadow, c.radius, c.scale);
        const RgbaImage picture = ShadowPicture::render(c.shadow, c.radius, c.scale);
        ASSERT_EQ(sizeOf(picture), std::pair(g.size, g.size));
        const int cut = g.outset + g.corner;
        for (int i = 0; i < g.size; ++i) {
            // Every column of the middle band, and every row of the middle band, is the same.
            ASSERT_EQ(alphaAt(picture, cut, i), alphaAt(picture, g.size - cut - 1, i)) << i;
            ASSERT_EQ(alphaAt(picture, i, cut), alphaAt(picture, i, g.size - cut - 1)) << i;
            // Left and right mirror each other.
            ASSERT_EQ(alphaAt(picture, i, g.size / 2),
                      alphaAt(picture, g.size - 1 - i, g.size / 2));
        }
        // Inside the box nothing; below it more than above it; the far corners empty.
        EXPECT_EQ(alphaAt(picture, g.size / 2, g.size / 2), 0);
        EXPECT_EQ(alphaAt(picture, g.outset + 1 + g.corner, g.outset + 1 + g.corner), 0);
        EXPECT_GT(alphaAt(picture, g.size / 2, g.size - g.outset + 1),
                  alphaAt(picture, g.size / 2, g.outset - 2));
        EXPECT_EQ(alphaAt(picture, 0, 0), 0);
        EXPECT_EQ(alphaAt(picture, g.size - 1, g.size - 1), 0);
        // Colour is black throughout: the shadow is all opacity.
        for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
            ASSERT_EQ(picture.pixels[i] | picture.pixels[i + 1] | picture.pixels[i + 2], 0);
        }
    }
}

TEST(ShadowPictureTest, BorderImageOnlyWhereTheSlicesServeAndCachedByInputs) {
    TemporaryFolder folder;
    const double smallest = ShadowPicture::geometry(25, 10, 2).smallestBox();
    EXPECT_FALSE(ShadowPicture::borderImage(0, 10, 1, 1000, 800, folder.path()));
    EXPECT_FALSE(ShadowPicture::borderImage(25, 10, 0, 1000, 800, folder.path()));
    EXPECT_FALSE(ShadowPicture::borderImage(25, 10, 2, smallest - 1, 800, folder.path()));
    EXPECT_FALSE(ShadowPicture::borderImage(25, 10, 2, 800, smallest - 1, folder.path()));
    // Too large to make on the spot.
    const int side = ShadowPicture::geometry(25, 10, 2).size;
    EXPECT_FALSE(ShadowPicture::borderImage(25, 10, 2, 900, 900, folder.path(), side - 1));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

    const auto css = ShadowPicture::borderImage(25, 10, 2, smallest, smallest, folder.path());
    ASSERT_TRUE(css);
    const auto g = ShadowPicture::geometry(25, 10, 2);
    EXPECT_NE(css->find("border-image-slice: " + std::to_string(g.outset + g.corner) + ";"),
              std::string::npos);
    EXPECT_NE(css->find("border-image-outset: " + std::to_string(g.outset / 2) + "px;"),
              std::string::npos)
        << *css;
    EXPECT_NE(css->find("url(\"file://"), std::string::npos);
    // One picture per set of inputs, reused whatever its size.
    EXPECT_EQ(ShadowPicture::borderImage(25, 10, 2, 900, 900, folder.path(), side - 1), css);
    EXPECT_NE(ShadowPicture::borderImage(26, 10, 2, 900, 900, folder.path()), css);
    EXPECT_EQ(entryCount(folder.path()), 2);
}

TEST(ShadowPictureTest, OnlyTheMostRecentlyUsedPicturesAreKept) {
    TemporaryFolder folder;
    // Small, quickly made pictures; the first is used again after the tenth.
    const int made = static_cast<int>(ShadowPicture::KEPT_PICTURES) + 3;
    for (int shadow = 1; shadow <= made; ++shadow) {
        ASSERT_TRUE(ShadowPicture::borderImage(shadow, 0, 1, 2000, 2000, folder.path()));
        if (shadow == 10) {
            ShadowPicture::borderImage(1, 0, 1, 2000, 2000, folder.path());
        }
    }
    EXPECT_EQ(entryCount(folder.path()), static_cast<long>(ShadowPicture::KEPT_PICTURES));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "shadow-3-1-0-1.png"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "shadow-3-2-0-1.png"));
}
