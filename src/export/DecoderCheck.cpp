#include "export/DecoderCheck.h"

#include "export/ImageReader.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>
#include <png.h>
#include <vector>

namespace lumeris {

namespace {

// Every chunk lies within the data, up to IEND. A chunk may claim up to 2 GB, which libpng (here
// and inside GdkPixbuf) allocates before it reads a byte of it.
bool chunksFit(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 8;
    while (at + 8 <= size) {
        const std::uint32_t length = (std::uint32_t{data[at]} << 24) |
                                     (std::uint32_t{data[at + 1]} << 16) |
                                     (std::uint32_t{data[at + 2]} << 8) | data[at + 3];
        if (length > size - at - 8 || size - at - 8 - length < 4) {
            return false;
        }
        const bool end = std::equal(data + at + 4, data + at + 8, "IEND");
        at += 12 + static_cast<std::size_t>(length);
        if (end) {
            return true;
        }
    }
    return false;
}

// Everything a longjmp from a decoder's error handler may skip over is trivially destructible
// or owned outside the setjmp frame.
struct PngSource {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t offset = 0;
    bool ranOut = false;
    char message[200] = {};
};

void pngRead(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->offset) {
        source->ranOut = true;
        png_error(png, "data ends early");
    }
    std::copy_n(source->data + source->offset, length, out);
    source->offset += length;
}

void pngFail(png_structp png, png_const_charp message) {
    auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(source->message, sizeof source->message, "%s", message);
    png_longjmp(png, 1);
}

// Ancillary-chunk complaints (a wrong colour profile, a bad text chunk) leave the pixels intact.
void pngWarn(png_structp, png_const_charp) {}

struct JpegFailure {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void jpegFail(j_common_ptr info) {
    auto* failure = reinterpret_cast<JpegFailure*>(info->err);
    info->err->format_message(info, failure->message);
    std::longjmp(failure->jump, 1);
}

// A warning is the decoder filling in data it did not find: the picture would be garbage.
// Padding before a marker is the one warning that loses nothing.
void jpegMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code != JWRN_EXTRANEOUS_DATA) {
        jpegFail(info);
    }
}

std::optional<std::string> decodePngRows(png_structp png, png_infop info, PngSource& source,
                                         std::vector<png_byte>& row) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        if (source.ranOut) {
            return std::string(DecoderCheck::INCOMPLETE);
        }
        return std::string(DecoderCheck::CORRUPT) + ": " + source.message;
    }
    png_set_read_fn(png, &source, pngRead);
    png_set_chunk_cache_max(png, 128);
    png_read_info(png, info);
    const auto width = png_get_image_width(png, info);
    const auto height = png_get_image_height(png, info);
    if (auto problem = ImageReader::sizeProblem(width, height)) {
        return problem;
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    row.resize(png_get_rowbytes(png, info));
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, row.data(), nullptr);
        }
    }
    // Checks the chunks after the image data up to IEND, and their checksums.
    png_read_end(png, nullptr);
    return std::nullopt;
}

std::optional<std::string> decodeJpegRows(jpeg_decompress_struct& info, JpegFailure& failure,
                                          const std::uint8_t* data, std::size_t size,
                                          std::vector<JSAMPLE>& row) {
    if (setjmp(failure.jump) != 0) {
        const std::string message = failure.message;
        const bool early = message.find("Premature end") != std::string::npos ||
                           message.find("premature end") != std::string::npos;
        return early ? std::string(DecoderCheck::INCOMPLETE)
                     : std::string(DecoderCheck::CORRUPT) + ": " + message;
    }
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (auto problem = ImageReader::sizeProblem(info.image_width, info.image_height)) {
        return problem;
    }
    // Every coefficient is still decoded, but only an eighth of the picture is produced.
    info.scale_num = 1;
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    row.resize(static_cast<std::size_t>(info.output_width) * info.output_components);
    JSAMPROW rows[1] = {row.data()};
    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    return std::nullopt;
}

} // namespace

std::optional<std::string> DecoderCheck::png(const std::uint8_t* data, std::size_t size) {
    if (!chunksFit(data, size)) {
        return std::string(INCOMPLETE);
    }
    PngSource source{data, size};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, pngFail, pngWarn);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return std::string("out of memory");
    }
    std::vector<png_byte> row;
    auto problem = decodePngRows(png, info, source, row);
    png_destroy_read_struct(&png, &info, nullptr);
    return problem;
}

std::optional<std::string> DecoderCheck::jpeg(const std::uint8_t* data, std::size_t size) {
    jpeg_decompress_struct info{};
    JpegFailure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jpegFail;
    failure.manager.emit_message = jpegMessage;
    jpeg_create_decompress(&info);
    std::vector<JSAMPLE> row;
    auto problem = decodeJpegRows(info, failure, data, size, row);
    jpeg_destroy_decompress(&info);
    return problem;
}

} // namespace lumeris
