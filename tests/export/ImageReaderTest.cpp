#include "export/ImageReader.h"

#include "TemporaryFolder.h"
#include "export/ImageEncoder.h"
#include "support/ImageFiles.h"

#include <fcntl.h>
#include <fstream>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

using namespace lumeris;

namespace {

void putBigEndian(std::vector<std::uint8_t>& data, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        data[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

// A small PNG whose header claims the given size, as in a decompression bomb.
std::vector<std::uint8_t> pngClaiming(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> png = ImageEncoder::pngData(RgbaImage(1, 1));
    putBigEndian(png, 16, width);
    putBigEndian(png, 20, height);
    putBigEndian(png, 29, static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17)));
    return png;
}

// Opaque except for a half-transparent pixel at the bottom right, so a flipped, premultiplied
// or alpha-dropping reading differs.
RgbaImage checkerboard(int width, int height) {
    return painted(width, height, [&](int x, int y) {
        const int v = (x + y) % 2 != 0 ? 255 : 0;
        return rgba(v, v, v, x == width - 1 && y == height - 1 ? 128 : 255);
    });
}

std::string refusal(const std::filesystem::path& path) {
    std::string error;
    return ImageReader::read(path, &error) ? "read" : error;
}

// Saves `image` as a PNG file through GdkPixbuf, stored at `dpi`.
bool save(const RgbaImage& image, const std::string& path, const char* dpi) {
    GdkPixbuf* pixbuf =
        gdk_pixbuf_new_from_data(image.pixels.data(), GDK_COLORSPACE_RGB, TRUE, 8, image.width,
                                 image.height, image.width * 4, nullptr, nullptr);
    bool saved =
        gdk_pixbuf_save(pixbuf, path.c_str(), "png", nullptr, "x-dpi", dpi, "y-dpi", dpi, nullptr);
    g_object_unref(pixbuf);
    return saved;
}

} // namespace

TEST(ImageReader, ReadsPixelsAsStoredAndSizesHighDensityFilesInPoints) {
    TemporaryFolder folder;
    for (auto [dpi, scale] : {std::pair{"144", 2.0}, {"96", 1.0}, {"216", 3.0}}) {
        ASSERT_TRUE(save(checkerboard(40, 20), folder / "x.png", dpi));
        auto loaded = ImageReader::read(folder / "x.png");
        ASSERT_TRUE(loaded) << dpi;
        EXPECT_DOUBLE_EQ(loaded->pointWidth, 40 / scale) << dpi;
        EXPECT_EQ(loaded->image, checkerboard(40, 20)) << dpi;
    }
}

// A renderer may show such a file itself instead of our decoded pixels.
TEST(ImageReader, PlainPngsAskForNoColourManagementAndHaveAtMostEightBitChannels) {
    TemporaryFolder folder;
    const std::vector<std::uint8_t> png = ImageEncoder::pngData(checkerboard(8, 8));
    writeFile(folder / "plain.png", png);
    EXPECT_TRUE(ImageReader::isPlainPng(folder / "plain.png"));
    ASSERT_TRUE(save(checkerboard(8, 8), folder / "dense.png", "144"));
    EXPECT_TRUE(ImageReader::isPlainPng(folder / "dense.png"));

    // After the header (which ends at byte 33): a gamma chunk.
    std::vector<std::uint8_t> gamma = png;
    const std::uint8_t chunk[] = {0, 0, 0, 4, 'g', 'A', 'M', 'A', 0, 0, 0xb1, 0x8f, 0, 0, 0, 0};
    gamma.insert(gamma.begin() + 33, std::begin(chunk), std::end(chunk));
    writeFile(folder / "gamma.png", gamma);
    std::vector<std::uint8_t> deep = png;
    deep[24] = 16;
    writeFile(folder / "deep.png", deep);
    writeFile(folder / "cut.png", std::vector<std::uint8_t>(png.begin(), png.begin() + 40));
    writeFile(folder / "photo.jpg", ImageEncoder::jpegData(checkerboard(8, 8), 0.9));
    for (const char* name : {"gamma.png", "deep.png", "cut.png", "photo.jpg", "missing.png"}) {
        EXPECT_FALSE(ImageReader::isPlainPng(folder / name)) << name;
    }
}

// Each refusal names its reason; none of them blocks, and no damaged picture gets through
// because a valid trailer was glued on.
TEST(ImageReader, BadInputsAreRefusedWithTheirReason) {
    TemporaryFolder folder;
    auto png = ImageEncoder::pngData(checkerboard(64, 64));
    auto jpeg = ImageEncoder::jpegData(checkerboard(64, 64));
    const std::vector<std::uint8_t> iend(png.end() - 12, png.end());
    auto cutPng = std::vector<std::uint8_t>(png.begin(), png.begin() + png.size() / 2);
    writeFile(folder / "truncated.png", cutPng);
    cutPng.insert(cutPng.end(), iend.begin(), iend.end());
    writeFile(folder / "truncated-with-trailer.png", cutPng);
    writeFile(folder / "truncated.jpg", {jpeg.begin(), jpeg.end() - 40});
    auto cutJpeg = std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() * 2 / 3);
    cutJpeg.insert(cutJpeg.end(), {0xFF, 0xD9});
    writeFile(folder / "truncated-with-trailer.jpg", cutJpeg);
    writeFile(folder / "empty.png", {});
    writeFile(folder / "text.png", {'h', 'e', 'l', 'l', 'o', '\n'});
    // Damaged image data behind an intact header and a recomputed checksum.
    auto corrupt = png;
    const std::size_t idat = 33; // after the signature and the header chunk
    ASSERT_EQ(std::string(corrupt.begin() + idat + 4, corrupt.begin() + idat + 8), "IDAT");
    const std::uint32_t length = (corrupt[idat] << 24) | (corrupt[idat + 1] << 16) |
                                 (corrupt[idat + 2] << 8) | corrupt[idat + 3];
    for (std::size_t i = idat + 8 + 2; i < idat + 8 + length; i += 3) {
        corrupt[i] ^= 0x5A;
    }
    putBigEndian(corrupt, idat + 8 + length,
                 static_cast<std::uint32_t>(crc32(0, corrupt.data() + idat + 4, length + 4)));
    writeFile(folder / "corrupt.png", corrupt);
    writeFile(folder / "photo.avif", {0, 0, 0, 0x1C, 'f', 't', 'y', 'p', 'a', 'v', 'i', 'f', 0, 0});
    ASSERT_EQ(mkfifo((folder / "fifo.png").c_str(), 0600), 0);
    std::filesystem::create_directory(folder / "folder.png");

    const std::pair<std::filesystem::path, const char*> cases[] = {
        {folder / "truncated.png", "incomplete image"},
        {folder / "truncated-with-trailer.png", "incomplete image"},
        {folder / "truncated.jpg", "incomplete image"},
        {folder / "truncated-with-trailer.jpg", "incomplete image"},
        {folder / "empty.png", "not an image"},
        {folder / "text.png", "not an image"},
        {folder / "corrupt.png", "corrupt image data"},
        {folder / "photo.avif", "unsupported format: AVIF"},
        {folder / "fifo.png", "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {folder / "folder.png", "a folder, not an image"},
        {folder / "missing.png", "no such file"},
    };
    for (const auto& [path, reason] : cases) {
        EXPECT_TRUE(refusal(path).starts_with(reason)) << path << ": " << refusal(path);
    }
    // Standard input: bounded, whatever stands behind it.
    const int zero = open("/dev/zero", O_RDONLY);
    std::string error;
    EXPECT_FALSE(ImageReader::readStream(zero, &error));
    EXPECT_EQ(error, "more than 256 MB of data");
    close(zero);
}

TEST(ImageReader, OversizedImagesAreRefusedBeforeDecoding) {
    TemporaryFolder folder;
    // Too wide on one side, and too many pixels while each side is allowed.
    writeFile(folder / "wide.png", pngClaiming(40000, 10));
    writeFile(folder / "huge.png", pngClaiming(20000, 20000));
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    for (const char* name : {"wide.png", "huge.png"}) {
        EXPECT_TRUE(refusal(folder / name).starts_with("image too large")) << name;
    }
    // Refused from the header alone: the 1.6 GB the claim asks for is never allocated.
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256 * 1024);
    EXPECT_FALSE(ImageReader::sizeProblem(32767, 976));
    EXPECT_FALSE(ImageReader::sizeProblem(5656, 5656));
    EXPECT_TRUE(ImageReader::sizeProblem(32768, 1));
    EXPECT_TRUE(ImageReader::sizeProblem(5657, 5657));
    EXPECT_TRUE(ImageReader::sizeProblem(0, 10));
}

// Inputs the fuzzer found, kept: each is refused, none costs more than a little memory.
TEST(ImageReader, FuzzFindingsAreRefusedCheaply) {
    const auto folder =
        std::filesystem::path(LUMERIS_TEST_SOURCE_DIR) / "fuzz" / "regressions" / "image_reader";
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_FALSE(ImageReader::read(entry.path())) << entry.path();
        ++found;
    }
    getrusage(RUSAGE_SELF, &after);
    EXPECT_GT(found, 0);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256 * 1024);
}
