#include "export/ImageReader.h"

#include "TemporaryFolder.h"
#include "export/ImageEncoder.h"

#include <fstream>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <zlib.h>

using lumeris::ImageEncoder;
using lumeris::ImageReader;
using lumeris::RgbaImage;

namespace {

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
}

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void appendChunk(std::vector<std::uint8_t>& data, std::vector<std::uint8_t> chunk) {
    appendBigEndian(data, static_cast<std::uint32_t>(chunk.size() - 4));
    data.insert(data.end(), chunk.begin(), chunk.end());
    appendBigEndian(data, static_cast<std::uint32_t>(crc32(0, chunk.data(), chunk.size())));
}

// A small PNG file whose header claims the given size: a few bytes of pixel data follow, as
// in a decompression bomb.
std::vector<std::uint8_t> pngClaiming(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> data = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header = {'I', 'H', 'D', 'R'};
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    appendChunk(data, header);
    std::vector<std::uint8_t> zeros(4096, 0);
    std::vector<std::uint8_t> pixels(compressBound(zeros.size()));
    uLongf length = pixels.size();
    compress(pixels.data(), &length, zeros.data(), zeros.size());
    pixels.resize(length);
    pixels.insert(pixels.begin(), {'I', 'D', 'A', 'T'});
    appendChunk(data, pixels);
    appendChunk(data, {'I', 'E', 'N', 'D'});
    return data;
}

RgbaImage checkerboard(int width, int height) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.at(x, y);
            p[0] = p[1] = p[2] = ((x + y) % 2) ? 255 : 0;
            p[3] = 255;
        }
    }
    return image;
}

struct Refusal {
    bool refused;
    std::string error;
};

Refusal readFile(const std::filesystem::path& path) {
    std::string error;
    bool refused = !ImageReader::read(path, &error);
    return {refused, error};
}

} // namespace

TEST(ImageReader, ReadsPngWithRowZeroAtTheTopAndOneToOnePoints) {
    TemporaryFolder folder;
    RgbaImage image(3, 2);
    image.at(0, 0)[0] = 255; // red top-left
    image.at(0, 0)[3] = 255;
    image.at(2, 1)[2] = 255; // half-transparent blue bottom-right
    image.at(2, 1)[3] = 128;
    writeFile(folder / "a.png", ImageEncoder::pngData(image));

    auto loaded = ImageReader::read(folder / "a.png");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->image, image);
    EXPECT_EQ(loaded->pointWidth, 3.0);
    EXPECT_EQ(loaded->pointHeight, 2.0);
    EXPECT_EQ(loaded->scale(), 1.0);
}

TEST(ImageReader, HighDensityFilesAreSizedInPoints) {
    TemporaryFolder folder;
    RgbaImage image = checkerboard(40, 20);
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_data(image.pixels.data(), GDK_COLORSPACE_RGB, TRUE, 8,
                                                 40, 20, 160, nullptr, nullptr);
    for (auto [name, dpi, scale] :
         {std::tuple{"retina.png", "144", 2.0}, std::tuple{"normal.png", "96", 1.0},
          std::tuple{"triple.png", "216", 3.0}}) {
        auto path = (folder / name).string();
        ASSERT_TRUE(gdk_pixbuf_save(pixbuf, path.c_str(), "png", nullptr, "x-dpi", dpi, "y-dpi",
                                    dpi, nullptr));
        auto loaded = ImageReader::read(path);
        ASSERT_TRUE(loaded) << name;
        EXPECT_DOUBLE_EQ(loaded->scale(), scale) << name;
        EXPECT_DOUBLE_EQ(loaded->pointWidth, 40 / scale) << name;
        EXPECT_EQ(loaded->image.width, 40);
    }
    g_object_unref(pixbuf);
}

TEST(ImageReader, ReadsOtherFormatsThroughTheInstalledLoaders) {
    TemporaryFolder folder;
    RgbaImage image = checkerboard(8, 6);
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_data(image.pixels.data(), GDK_COLORSPACE_RGB, TRUE, 8,
                                                 8, 6, 32, nullptr, nullptr);
    for (const char* type : {"bmp", "tiff", "ico"}) {
        auto path = (folder / (std::string("x.") + type)).string();
        if (!gdk_pixbuf_save(pixbuf, path.c_str(), type, nullptr, nullptr)) {
            continue; // this loader is not installed here
        }
        auto loaded = ImageReader::read(path);
        ASSERT_TRUE(loaded) << type;
        EXPECT_EQ(loaded->image.width, 8) << type;
        EXPECT_EQ(loaded->image.at(1, 0)[0], 255) << type;
        EXPECT_EQ(loaded->image.at(0, 0)[3], 255) << type;
    }
    g_object_unref(pixbuf);
}

TEST(ImageReader, BrokenFilesAreNotImages) {
    TemporaryFolder folder;
    auto png = ImageEncoder::pngData(checkerboard(64, 64));
    writeFile(folder / "truncated.png", {png.begin(), png.begin() + png.size() / 2});
    writeFile(folder / "empty.png", {});
    auto jpeg = ImageEncoder::jpegData(checkerboard(64, 64));
    writeFile(folder / "truncated.jpg", {jpeg.begin(), jpeg.end() - 40});
    writeFile(folder / "text.png", {'h', 'e', 'l', 'l', 'o', '\n'});
    auto corrupt = png;
    for (std::size_t i = 60; i < corrupt.size(); i += 7) {
        corrupt[i] ^= 0x5A;
    }
    writeFile(folder / "corrupt.png", corrupt);

    for (const char* name :
         {"truncated.png", "truncated.jpg", "empty.png", "text.png", "corrupt.png"}) {
        auto [refused, error] = readFile(folder / name);
        EXPECT_TRUE(refused) << name;
        EXPECT_EQ(error, "not an image") << name;
    }
    auto [refused, error] = readFile(folder / "missing.png");
    EXPECT_TRUE(refused);
    EXPECT_EQ(error, "no such file");
}

TEST(ImageReader, OversizedHeadersAreRefusedBeforeDecoding) {
    TemporaryFolder folder;
    // Too wide on one side, and too many pixels while each side is allowed.
    writeFile(folder / "wide.png", pngClaiming(40000, 10));
    writeFile(folder / "huge.png", pngClaiming(20000, 20000));
    for (const char* name : {"wide.png", "huge.png"}) {
        auto [refused, error] = readFile(folder / name);
        EXPECT_TRUE(refused) << name;
        EXPECT_NE(error.find("too large"), std::string::npos) << name << ": " << error;
    }
}

TEST(ImageReader, SizeLimits) {
    EXPECT_FALSE(ImageReader::sizeProblem(32767, 8192));
    EXPECT_FALSE(ImageReader::sizeProblem(16384, 16384));
    EXPECT_TRUE(ImageReader::sizeProblem(32768, 1));
    EXPECT_TRUE(ImageReader::sizeProblem(16385, 16384));
    EXPECT_TRUE(ImageReader::sizeProblem(0, 10));
}
