#include "export/ImageEncoder.h"

#include "export/ImageReader.h"
#include "support/ImageFiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string_view>

using namespace lumeris;

namespace {

// A gradient with every alpha value, so that any premultiplication or channel swap shows.
RgbaImage gradient(int width, int height, bool opaque = false) {
    return painted(width, height, [&](int x, int y) {
        return rgba(x * 7, y * 13, x + y, opaque ? 255 : x * 31 + y);
    });
}

bool contains(const std::vector<std::uint8_t>& data, std::string_view bytes) {
    return std::search(data.begin(), data.end(), bytes.begin(), bytes.end(),
                       [](std::uint8_t a, char b) { return a == std::uint8_t(b); }) != data.end();
}

std::optional<LoadedImage> decode(const std::vector<std::uint8_t>& data) {
    return ImageReader::readData(data.data(), data.size());
}

// Bytes 25 and 28 of a PNG file are the IHDR colour type and interlace method (1 = Adam7).
constexpr std::size_t IHDR_COLOR_TYPE = 25;
constexpr std::size_t IHDR_INTERLACE = 28;

} // namespace

TEST(ImageEncoder, PngRoundTripsPixelsInterlacedWithoutMetadata) {
    // The alpha channel is dropped (colour type 2, not 6) only when every pixel is opaque.
    for (const auto& [image, colorType] :
         {std::pair{gradient(37, 23), 6}, {gradient(5, 9, true), 2}}) {
        auto data = ImageEncoder::pngData(image);
        ASSERT_GT(data.size(), 33u);
        EXPECT_EQ(data[IHDR_INTERLACE], 1);
        EXPECT_EQ(data[IHDR_COLOR_TYPE], colorType);
        for (const char* chunk : {"tEXt", "iTXt", "zTXt", "pHYs", "tIME", "gAMA", "sRGB"}) {
            EXPECT_FALSE(contains(data, chunk)) << chunk;
        }
        auto read = decode(data);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->image, image);
        EXPECT_EQ(read->pointWidth, image.width);
    }
}

TEST(ImageEncoder, JpegIsProgressiveFlattenedOntoWhiteAndHonoursQuality) {
    auto data = ImageEncoder::jpegData(gradient(120, 70, true));
    EXPECT_TRUE(contains(data, "\xFF\xC2")); // SOF2: progressive
    EXPECT_FALSE(contains(data, "\xFF\xC0"));
    auto read = decode(data);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::pair(read->image.width, read->image.height), std::pair(120, 70));

    // Lossy, but at quality 0.9 a flat area stays within a few units; transparency turns white.
    RgbaImage flat = painted(16, 16, [](int, int) { return rgba(200, 40, 90, 0); });
    read = decode(ImageEncoder::jpegData(flat));
    ASSERT_TRUE(read);
    EXPECT_GE(read->image.at(8, 8)[0], 252);
    EXPECT_GE(read->image.at(8, 8)[1], 252);
    std::ranges::replace(flat.pixels, 0, 255); // opaque
    read = decode(ImageEncoder::jpegData(flat));
    ASSERT_TRUE(read);
    for (int c : {0, 1, 2, 3}) { // decoded without an alpha channel, it reads opaque
        EXPECT_NEAR(read->image.at(8, 8)[c], flat.pixels[c], 3) << c;
    }

    RgbaImage busy = gradient(200, 200, true);
    EXPECT_LT(ImageEncoder::jpegData(busy, 0.3).size(), ImageEncoder::jpegData(busy, 0.9).size());
}

TEST(ImageEncoder, EmptyOrInconsistentImagesGiveNoData) {
    RgbaImage broken(10, 10);
    broken.pixels.resize(12);
    for (const RgbaImage& image : {RgbaImage(), broken}) {
        EXPECT_TRUE(ImageEncoder::pngData(image).empty());
        EXPECT_TRUE(ImageEncoder::jpegData(image).empty());
    }
    EXPECT_TRUE(ImageEncoder::jpegData(RgbaImage(70000, 1)).empty());
}
