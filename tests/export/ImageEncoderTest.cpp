#include "export/ImageEncoder.h"

#include "export/ImageReader.h"

#include <cstring>
#include <gtest/gtest.h>

using lumeris::ImageEncoder;
using lumeris::ImageReader;
using lumeris::RgbaImage;

namespace {

// A gradient with every alpha value, so that any premultiplication or channel swap shows.
RgbaImage translucentGradient(int width, int height) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.at(x, y);
            p[0] = static_cast<std::uint8_t>(x * 7);
            p[1] = static_cast<std::uint8_t>(y * 13);
            p[2] = static_cast<std::uint8_t>(x + y);
            p[3] = static_cast<std::uint8_t>(x * 31 + y);
        }
    }
    return image;
}

RgbaImage opaque(RgbaImage image) {
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) {
        image.pixels[i] = 255;
    }
    return image;
}

// Byte 28 of a PNG file is the IHDR interlace method (1 = Adam7); byte 25 the colour type.
constexpr std::size_t IHDR_COLOR_TYPE = 25;
constexpr std::size_t IHDR_INTERLACE = 28;

bool hasMarker(const std::vector<std::uint8_t>& data, std::uint8_t marker) {
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] == 0xFF && data[i + 1] == marker) {
            return true;
        }
    }
    return false;
}

bool hasChunk(const std::vector<std::uint8_t>& data, const char* type) {
    for (std::size_t i = 0; i + 4 <= data.size(); ++i) {
        if (std::memcmp(data.data() + i, type, 4) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(ImageEncoder, PngRoundTripsPixelsAndIsInterlaced) {
    for (const RgbaImage& image :
         {translucentGradient(37, 23), opaque(translucentGradient(5, 9))}) {
        auto data = ImageEncoder::pngData(image);
        ASSERT_GT(data.size(), 33u);
        EXPECT_EQ(data[IHDR_INTERLACE], 1);
        for (const char* chunk : {"tEXt", "iTXt", "zTXt", "pHYs", "tIME", "gAMA", "sRGB"}) {
            EXPECT_FALSE(hasChunk(data, chunk)) << chunk;
        }
        auto read = ImageReader::readData(data.data(), data.size());
        ASSERT_TRUE(read);
        EXPECT_EQ(read->image, image);
        EXPECT_EQ(read->pointWidth, image.width);
    }
}

TEST(ImageEncoder, PngDropsAlphaChannelOnlyWhenEveryPixelIsOpaque) {
    EXPECT_EQ(ImageEncoder::pngData(opaque(translucentGradient(4, 4)))[IHDR_COLOR_TYPE], 2);
    EXPECT_EQ(ImageEncoder::pngData(translucentGradient(4, 4))[IHDR_COLOR_TYPE], 6);
}

TEST(ImageEncoder, JpegIsProgressiveAndDecodesToTheSameSize) {
    RgbaImage image = opaque(translucentGradient(120, 70));
    auto data = ImageEncoder::jpegData(image);
    ASSERT_FALSE(data.empty());
    EXPECT_TRUE(hasMarker(data, 0xC2)); // SOF2: progressive
    EXPECT_FALSE(hasMarker(data, 0xC0));
    auto read = ImageReader::readData(data.data(), data.size());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->image.width, 120);
    EXPECT_EQ(read->image.height, 70);
    // Lossy, but at quality 0.9 a flat area stays within a few units.
    RgbaImage flat(16, 16);
    for (std::size_t i = 0; i < flat.pixels.size(); i += 4) {
        flat.pixels[i] = 200, flat.pixels[i + 1] = 40, flat.pixels[i + 2] = 90,
        flat.pixels[i + 3] = 255;
    }
    auto flatData = ImageEncoder::jpegData(flat);
    auto flatRead = ImageReader::readData(flatData.data(), flatData.size());
    ASSERT_TRUE(flatRead);
    EXPECT_NEAR(flatRead->image.at(8, 8)[0], 200, 3);
    EXPECT_NEAR(flatRead->image.at(8, 8)[1], 40, 3);
    EXPECT_NEAR(flatRead->image.at(8, 8)[2], 90, 3);
}

TEST(ImageEncoder, JpegFlattensTransparencyOntoWhiteAndHonoursQuality) {
    RgbaImage clear(16, 16); // all zeros: transparent black
    auto data = ImageEncoder::jpegData(clear);
    auto read = ImageReader::readData(data.data(), data.size());
    ASSERT_TRUE(read);
    EXPECT_GE(read->image.at(8, 8)[0], 252);

    RgbaImage busy = opaque(translucentGradient(200, 200));
    EXPECT_LT(ImageEncoder::jpegData(busy, 0.3).size(), ImageEncoder::jpegData(busy, 0.9).size());
}

TEST(ImageEncoder, EmptyOrInconsistentImagesGiveNoData) {
    EXPECT_TRUE(ImageEncoder::pngData(RgbaImage()).empty());
    EXPECT_TRUE(ImageEncoder::jpegData(RgbaImage()).empty());
    RgbaImage broken(10, 10);
    broken.pixels.resize(12);
    EXPECT_TRUE(ImageEncoder::pngData(broken).empty());
    EXPECT_TRUE(ImageEncoder::jpegData(broken).empty());
    EXPECT_TRUE(ImageEncoder::jpegData(RgbaImage(70000, 1)).empty());
}
