#include "export/ImageReader.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"
#include "export/DecoderCheck.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lumeris {

namespace {

// Shared between the decoder and its size callback. The callback runs synchronously inside
// gdk_pixbuf_loader_write on the calling thread.
struct Decoding {
    std::optional<std::string> refusal;
};

void onSizePrepared(GdkPixbufLoader* loader, int width, int height, gpointer data) {
    auto* decoding = static_cast<Decoding*>(data);
    decoding->refusal = ImageReader::sizeProblem(width, height);
    if (decoding->refusal) {
        // A zero size tells the loader to stop before it allocates the pixel buffer.
        gdk_pixbuf_loader_set_size(loader, 0, 0);
    }
}

// Loaders report the stored density as the "x-dpi" option; captures from high-density
// screens say 144 or more.
double densityScale(GdkPixbuf* pixbuf) {
    const char* dpi = gdk_pixbuf_get_option(pixbuf, "x-dpi");
    if (dpi == nullptr) {
        return 1.0;
    }
    double value = std::strtod(dpi, nullptr);
    return value >= ImageReader::HIGH_DENSITY_DPI ? value / 72.0 : 1.0;
}

RgbaImage toRgba(GdkPixbuf* pixbuf) {
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* source = gdk_pixbuf_read_pixels(pixbuf);

    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        const guchar* row = source + static_cast<std::size_t>(y) * stride;
        std::uint8_t* out = image.at(0, y);
        for (int x = 0; x < width; ++x, row += channels, out += 4) {
            out[0] = row[0];
            out[1] = row[1];
            out[2] = row[2];
            out[3] = alpha ? row[3] : 255;
        }
    }
    return image;
}

class Decoder {
public:
    Decoder() : loader_(gdk_pixbuf_loader_new()) {
        g_signal_connect(loader_.get(), "size-prepared", G_CALLBACK(onSizePrepared), &decoding_);
    }
    // The size callback holds the address of decoding_.
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    ~Decoder() {
        // A loader must be closed before it is released; the result no longer matters.
        if (!closed_) {
            gdk_pixbuf_loader_close(loader_.get(), nullptr);
        }
    }

    bool write(const std::uint8_t* data, std::size_t size) {
        GErrorPtr failure;
        failed_ = !gdk_pixbuf_loader_write(loader_.get(), data, size, GErrorOut(failure));
        note(failure);
        return !failed_ && !decoding_.refusal;
    }

    std::optional<LoadedImage> finish(bool recognised, std::string* error) {
        GErrorPtr failure;
        closed_ = true;
        bool complete = gdk_pixbuf_loader_close(loader_.get(), GErrorOut(failure));
        note(failure);
        if (decoding_.refusal) {
            return fail(error, *decoding_.refusal);
        }
        // A loader that reported an error may still hand back the rows it had filled.
        if (failed_ || !complete) {
            return fail(error, recognised ? DecoderCheck::CORRUPT : ImageReader::NOT_AN_IMAGE);
        }
        GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader_.get());
        if (pixbuf == nullptr || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 ||
            gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB) {
            return fail(error, ImageReader::NOT_AN_IMAGE);
        }
        if (auto problem = ImageReader::sizeProblem(gdk_pixbuf_get_width(pixbuf),
                                                    gdk_pixbuf_get_height(pixbuf))) {
            return fail(error, *problem);
        }
        // Cameras and phones store their orientation separately from the pixels.
        GObjectPtr<GdkPixbuf> oriented(gdk_pixbuf_apply_embedded_orientation(pixbuf));
        if (!oriented) {
            return fail(error, ImageReader::NOT_AN_IMAGE);
        }
        LoadedImage loaded;
        loaded.image = toRgba(oriented.get());
        const double scale = densityScale(pixbuf);
        loaded.pointWidth = loaded.image.width / scale;
        loaded.pointHeight = loaded.image.height / scale;
        return loaded;
    }

private:
    void note(const GErrorPtr& failure) {
        if (failure && decoderMessage_.empty()) {
            decoderMessage_ = failure->message;
        }
    }

    std::optional<LoadedImage> fail(std::string* error, const std::string& reason) {
        if (!decoderMessage_.empty()) {
            LOG_DEBUG("image decoder: {}", decoderMessage_);
        }
        if (error != nullptr) {
            *error = reason;
        }
        return std::nullopt;
    }

    GObjectPtr<GdkPixbufLoader> loader_;
    Decoding decoding_;
    std::string decoderMessage_;
    bool failed_ = false;
    bool closed_ = false;
};

} // namespace

bool ImageReader::isPlainPng(const std::filesystem::path& path) {
    static constexpr std::array<unsigned char, 8> SIGNATURE{0x89, 'P',  'N',  'G',
                                                            '\r', '\n', 0x1a, '\n'};
    // Colour management, orientation and animation: all come before the image data.
    static constexpr std::array<std::string_view, 8> REFUSED{"gAMA", "iCCP", "sRGB", "cHRM",
                                                             "cICP", "mDCv", "eXIf", "acTL"};
    std::ifstream file(path, std::ios::binary);
    std::array<unsigned char, 8> bytes{};
    if (!file.read(reinterpret_cast<char*>(bytes.data()), bytes.size()) || bytes != SIGNATURE) {
        return false;
    }
    for (bool first = true;; first = false) {
        if (!file.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) {
            return false;
        }
        const std::uint32_t length =
            (std::uint32_t{bytes[0]} << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
        const std::string_view type(reinterpret_cast<const char*>(bytes.data()) + 4, 4);
        if (first) {
            // IHDR: width, height, then the bit depth.
            std::array<unsigned char, 9> header{};
            if (type != "IHDR" || length != 13 ||
                !file.read(reinterpret_cast<char*>(header.data()), header.size()) ||
                header[8] > 8) {
                return false;
            }
            file.seekg(length - header.size() + 4, std::ios::cur);
            continue;
        }
        if (type == "IDAT") {
            return true;
        }
        if (std::find(REFUSED.begin(), REFUSED.end(), type) != REFUSED.end() ||
            !file.seekg(static_cast<std::streamoff>(length) + 4, std::ios::cur)) {
            return false;
        }
    }
}

std::optional<std::string> ImageReader::sizeProblem(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) {
        return std::string(NOT_AN_IMAGE);
    }
    if (width > MAX_SIDE || height > MAX_SIDE || width * height > MAX_PIXELS) {
        return "image too large: " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels";
    }
    return std::nullopt;
}

namespace {

// Formats known by their first bytes, so that one without an installed loader is named rather
// than called "not an image".
struct KnownFormat {
    const char* loader; // GdkPixbuf's name for it
    const char* name;
    const char* package; // the Debian package with the loader, where one exists
};

std::optional<KnownFormat> sniff(const std::uint8_t* data, std::size_t size) {
    auto at = [&](std::size_t offset, std::string_view magic) {
        return size >= offset + magic.size() &&
               std::equal(magic.begin(), magic.end(), data + offset,
                          [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
    };
    if (at(0, "\x89PNG\r\n\x1a\n")) {
        return KnownFormat{"png", "PNG", nullptr};
    }
    if (at(0, "\xFF\xD8\xFF")) {
        return KnownFormat{"jpeg", "JPEG", nullptr};
    }
    if (at(0, "GIF87a") || at(0, "GIF89a")) {
        return KnownFormat{"gif", "GIF", nullptr};
    }
    if (at(0, "RIFF") && at(8, "WEBP")) {
        return KnownFormat{"webp", "WebP", "webp-pixbuf-loader"};
    }
    if (at(0, std::string_view("II*\0", 4)) || at(0, std::string_view("MM\0*", 4))) {
        return KnownFormat{"tiff", "TIFF", nullptr};
    }
    if (at(4, "ftypavif") || at(4, "ftypavis")) {
        return KnownFormat{"avif", "AVIF", nullptr};
    }
    if (at(4, "ftypheic") || at(4, "ftypheix") || at(4, "ftypmif1")) {
        return KnownFormat{"heif", "HEIF", nullptr};
    }
    if (at(0, "\xFF\x0A") || at(0, std::string_view("\0\0\0\x0CJXL ", 8))) {
        return KnownFormat{"jxl", "JPEG XL", nullptr};
    }
    return std::nullopt;
}

bool loaderInstalled(const char* loader) {
    GSList* formats = gdk_pixbuf_get_formats();
    bool found = false;
    for (GSList* item = formats; item != nullptr && !found; item = item->next) {
        GCharPtr name(gdk_pixbuf_format_get_name(static_cast<GdkPixbufFormat*>(item->data)));
        found = name && std::strcmp(name.get(), loader) == 0;
    }
    g_slist_free(formats);
    return found;
}

std::optional<LoadedImage> refuse(std::string* error, std::string reason) {
    if (error != nullptr) {
        *error = std::move(reason);
    }
    return std::nullopt;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Everything `fd` holds, or nothing when it holds more than `limit` bytes or cannot be read.
std::optional<std::vector<std::uint8_t>> readAll(int fd, std::size_t limit, std::size_t expected,
                                                 bool* tooLarge) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::min(expected, limit) + 1);
    constexpr std::size_t CHUNK = 256 * 1024;
    while (true) {
        const std::size_t used = bytes.size();
        bytes.resize(used + CHUNK);
        const ssize_t count = ::read(fd, bytes.data() + used, CHUNK);
        if (count < 0 && errno == EINTR) {
            bytes.resize(used);
            continue;
        }
        if (count < 0) {
            return std::nullopt;
        }
        bytes.resize(used + static_cast<std::size_t>(count));
        if (bytes.size() > limit) {
            *tooLarge = true;
            return std::nullopt;
        }
        if (count == 0) {
            return bytes;
        }
    }
}

std::string megabytes(std::size_t bytes) {
    return std::to_string(bytes / (1024 * 1024)) + " MB";
}

} // namespace

std::optional<LoadedImage> ImageReader::readData(const std::uint8_t* data, std::size_t size,
                                                 std::string* error) {
    if (size > MAX_FILE_BYTES) {
        return refuse(error, "more than " + megabytes(MAX_FILE_BYTES) + " of data");
    }
    const auto format = sniff(data, size);
    if (format && !loaderInstalled(format->loader)) {
        std::string reason = std::string("unsupported format: ") + format->name;
        if (format->package != nullptr) {
            reason += " (install " + std::string(format->package) + ")";
        }
        return refuse(error, reason);
    }
    // The loaders of these two accept corrupt or cut-off image data without a word.
    if (format && std::strcmp(format->loader, "png") == 0) {
        if (auto problem = DecoderCheck::png(data, size)) {
            return refuse(error, *problem);
        }
    } else if (format && std::strcmp(format->loader, "jpeg") == 0) {
        if (auto problem = DecoderCheck::jpeg(data, size)) {
            return refuse(error, *problem);
        }
    }
    Decoder decoder;
    // Fed in slices so that a refused header stops the work early.
    constexpr std::size_t SLICE = 64 * 1024;
    for (std::size_t offset = 0; offset < size; offset += SLICE) {
        std::size_t length = std::min(SLICE, size - offset);
        if (!decoder.write(data + offset, length)) {
            break;
        }
    }
    return decoder.finish(format.has_value(), error);
}

std::optional<LoadedImage> ImageReader::read(const std::filesystem::path& path,
                                             std::string* error) {
    // Refused before opening: opening a FIFO blocks until a writer comes, and opening a device
    // may already act on it.
    struct stat before {};
    if (stat(path.c_str(), &before) != 0) {
        const int reason = errno;
        LOG_DEBUG("cannot open {}: {}", path.string(), std::strerror(reason));
        return refuse(error, reason == ENOENT ? "no such file" : "cannot read file");
    }
    if (!S_ISREG(before.st_mode)) {
        return refuse(error, S_ISDIR(before.st_mode) ? "a folder, not an image" : NOT_A_FILE);
    }
    if (static_cast<std::uint64_t>(before.st_size) > MAX_FILE_BYTES) {
        return refuse(error, "file too large: more than " + megabytes(MAX_FILE_BYTES));
    }
    // Non-blocking, should a FIFO have taken the file's place since.
    Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat opened {};
    if (file.get() < 0 || fstat(file.get(), &opened) != 0) {
        return refuse(error, "cannot read file");
    }
    if (!S_ISREG(opened.st_mode)) {
        return refuse(error, NOT_A_FILE);
    }
    bool tooLarge = false;
    auto bytes =
        readAll(file.get(), MAX_FILE_BYTES, static_cast<std::size_t>(opened.st_size), &tooLarge);
    if (!bytes) {
        return refuse(error, tooLarge ? "file too large: more than " + megabytes(MAX_FILE_BYTES)
                                      : std::string("cannot read file"));
    }
    return readData(bytes->data(), bytes->size(), error);
}

std::optional<LoadedImage> ImageReader::readStream(int fd, std::string* error) {
    if (isatty(fd)) {
        return refuse(error, "standard input is a terminal; pipe an image into it");
    }
    bool tooLarge = false;
    auto bytes = readAll(fd, MAX_FILE_BYTES, 0, &tooLarge);
    if (!bytes) {
        return refuse(error, tooLarge ? "more than " + megabytes(MAX_FILE_BYTES) + " of data"
                                      : std::string("cannot read standard input"));
    }
    return readData(bytes->data(), bytes->size(), error);
}

} // namespace lumeris
