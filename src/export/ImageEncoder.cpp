#include "export/ImageEncoder.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <png.h>

namespace lumeris {

namespace {

bool validSize(const RgbaImage& image) {
    return !image.empty() &&
           image.pixels.size() == static_cast<std::size_t>(image.width) * image.height * 4;
}

bool isOpaque(const RgbaImage& image) {
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) {
        if (image.pixels[i] != 255) {
            return false;
        }
    }
    return true;
}

// ---- PNG ----

struct PngOutput {
    std::vector<std::uint8_t>* bytes = nullptr;
    bool outOfMemory = false;
};

// libpng reports errors by longjmp; nothing with a destructor lives between setjmp and the
// calls that may jump.
[[noreturn]] void pngFail(png_structp png, png_const_charp message) {
    LOG_ERROR("png encoding failed: {}", message);
    png_longjmp(png, 1);
}

void pngWarn(png_structp, png_const_charp message) {
    LOG_DEBUG("png encoder: {}", message);
}

void pngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    try {
        output->bytes->insert(output->bytes->end(), data, data + length);
    } catch (...) {
        output->outOfMemory = true;
        png_error(png, "out of memory");
    }
}

void pngFlush(png_structp) {}

bool encodePng(const RgbaImage& image, const std::vector<png_bytep>& rows, bool opaque, bool quick,
               std::vector<std::uint8_t>& bytes) {
    PngOutput output{&bytes};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFail, pngWarn);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &output, pngWrite, pngFlush);
    if (quick) {
        // The renderer reads it once: one cheap filter and the fastest zlib level.
        png_set_compression_level(png, 1);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA,
                 quick ? PNG_INTERLACE_NONE : PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (opaque) {
        // Rows stay RGBA in memory; the filler byte is dropped on the way out.
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    if (!quick) {
        png_set_interlace_handling(png);
    }
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// ---- JPEG ----

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jpegFail(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    LOG_ERROR("jpeg encoding failed: {}", std::string(message));
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void jpegQuiet(j_common_ptr, int) {}

// Flattens straight-alpha pixels onto white into packed RGB rows.
std::vector<std::uint8_t> flattenedRgb(const RgbaImage& image) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width) * image.height * 3);
    const std::uint8_t* in = image.pixels.data();
    std::uint8_t* out = rgb.data();
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    for (std::size_t i = 0; i < count; ++i, in += 4, out += 3) {
        const unsigned alpha = in[3];
        if (alpha == 255) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        } else {
            const unsigned white = 255 * (255 - alpha);
            for (int c = 0; c < 3; ++c) {
                out[c] = static_cast<std::uint8_t>((in[c] * alpha + white + 127) / 255);
            }
        }
    }
    return rgb;
}

bool encodeJpeg(const RgbaImage& image, const std::vector<std::uint8_t>& rgb, int quality,
                unsigned char** buffer, unsigned long* size) {
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFail;
    error.manager.emit_message = jpegQuiet;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

std::vector<std::uint8_t> ImageEncoder::pngData(const RgbaImage& image) {
    return png(image, false);
}

std::vector<std::uint8_t> ImageEncoder::quickPngData(const RgbaImage& image) {
    return png(image, true);
}

std::vector<std::uint8_t> ImageEncoder::png(const RgbaImage& image, bool quick) {
    if (!validSize(image)) {
        LOG_ERROR("png encoding failed: empty image");
        return {};
    }
    try {
        std::vector<png_bytep> rows(image.height);
        for (int y = 0; y < image.height; ++y) {
            rows[y] = const_cast<png_bytep>(image.at(0, y));
        }
        std::vector<std::uint8_t> bytes;
        if (!encodePng(image, rows, isOpaque(image), quick, bytes)) {
            return {};
        }
        return bytes;
    } catch (const std::bad_alloc&) {
        LOG_ERROR("png encoding failed: out of memory");
        return {};
    }
}

std::vector<std::uint8_t> ImageEncoder::jpegData(const RgbaImage& image, double quality) {
    if (!validSize(image) || image.width > JPEG_MAX_DIMENSION ||
        image.height > JPEG_MAX_DIMENSION) {
        LOG_ERROR("jpeg encoding failed: unsupported size {}x{}", image.width, image.height);
        return {};
    }
    try {
        const int level = static_cast<int>(std::lround(std::clamp(quality, 0.0, 1.0) * 100.0));
        std::vector<std::uint8_t> rgb = flattenedRgb(image);
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        bool encoded = encodeJpeg(image, rgb, std::max(level, 1), &buffer, &size);
        GHandle<unsigned char, std::free> owned(buffer);
        if (!encoded || buffer == nullptr) {
            return {};
        }
        return std::vector<std::uint8_t>(buffer, buffer + size);
    } catch (const std::bad_alloc&) {
        LOG_ERROR("jpeg encoding failed: out of memory");
        return {};
    }
}

} // namespace lumeris
