#include "analysis/ChangedBands.h"

#include "support/ImageFiles.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

using Bands = std::vector<ChangedBands::Band>;

// A light page with three lines of dark "glyphs" (rows 20–30, 50–60, 80–90).
RgbaImage page() {
    RgbaImage image(200, 120);
    fillRect(image, 0, 0, 200, 120, grey(240));
    for (int line : {20, 50, 80}) {
        for (int x = 10; x < 190; x += 7) {
            fillRect(image, x, line + (x % 3), x + 3 + (x % 4), line + 10, grey(30));
        }
    }
    return image;
}

// The page at (30, 40) on a grey canvas, with a black box over (40, 47)–(100, 63) of the page
// whose edge pixels are half covered.
RgbaImage composed(const RgbaImage& image) {
    RgbaImage picture(260, 200);
    fillRect(picture, 0, 0, 260, 200, grey(100));
    for (int y = 0; y < image.height; ++y) {
        std::copy_n(image.at(0, y), image.width * 4, picture.at(30, 40 + y));
    }
    for (int y = 47; y < 63; ++y) { // the edge: half the page's grey
        for (int x = 40; x < 100; ++x) {
            std::uint8_t* p = picture.at(30 + x, 40 + y);
            p[0] = p[1] = p[2] = static_cast<std::uint8_t>(p[0] / 2);
        }
    }
    fillRect(picture, 30 + 41, 40 + 48, 30 + 99, 40 + 62, grey(0));
    return picture;
}

const std::vector<Rect> BOX{{40.5, 47.5, 59, 15}};

} // namespace

TEST(ChangedBands, OnlyPaddingIsReadWhenThePageAndItsBoxesAreInPlace) {
    const RgbaImage image = page();
    RgbaImage picture = composed(image);
    const ChangedBands changes(image, BOX, 0x000000);
    ASSERT_EQ(changes.locate(picture), (ChangedBands::Position{30, 40}));
    // Grown to the first pair of equal rows inside the page.
    EXPECT_EQ(changes.bands(picture, {30, 40}), (Bands{{0, 41}, {159, 200}}));

    // Another box colour: not the box drawn, so its line is read, out to the gaps around it.
    EXPECT_EQ(ChangedBands(image, BOX, 0xFF0000).bands(picture, {30, 40}),
              (Bands{{0, 41}, {40 + 46, 40 + 64}, {159, 200}}));
    // A box that lets the page show through.
    fillRect(picture, 30 + 41, 40 + 48, 30 + 99, 40 + 62, grey(240));
    EXPECT_EQ(changes.bands(picture, {30, 40}), (Bands{{0, 41}, {40 + 49, 40 + 61}, {159, 200}}));
    // A clipped corner is read with what lies next to it.
    picture = composed(image);
    fillRect(picture, 30, 40 + 119, 32, 40 + 120, grey(100));
    EXPECT_EQ(changes.bands(picture, {30, 40}), (Bands{{0, 41}, {40 + 118, 200}}));
}

TEST(ChangedBands, AShiftedOrPlainPageIsNotPlaced) {
    const RgbaImage image = page();
    RgbaImage shifted(260, 200);
    fillRect(shifted, 0, 0, 260, 200, grey(100));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x + 1 < image.width; ++x) { // half a pixel to the right: blended
            for (int c = 0; c < 4; ++c) {
                shifted.at(30 + x, 40 + y)[c] =
                    static_cast<std::uint8_t>((image.at(x, y)[c] + image.at(x + 1, y)[c]) / 2);
            }
        }
    }
    EXPECT_FALSE(ChangedBands(image, {}, 0).locate(shifted));
    RgbaImage plain(200, 120);
    fillRect(plain, 0, 0, 200, 120, grey(240));
    EXPECT_FALSE(ChangedBands(plain, {}, 0).locate(composed(plain)));
    EXPECT_FALSE(ChangedBands(composed(image), {}, 0).locate(image)); // larger than the picture
}
