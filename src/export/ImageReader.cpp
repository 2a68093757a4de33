#include "export/ImageReader.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <memory>
#include <vector>

namespace lumeris {

namespace {

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

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
        remember(data, size);
        GErrorPtr failure;
        bool written = gdk_pixbuf_loader_write(loader_.get(), data, size, GErrorOut(failure));
        note(failure);
        return written && !decoding_.refusal;
    }

    std::optional<LoadedImage> finish(std::string* error) {
        GErrorPtr failure;
        closed_ = true;
        bool complete = gdk_pixbuf_loader_close(loader_.get(), GErrorOut(failure));
        note(failure);
        if (decoding_.refusal) {
            return fail(error, *decoding_.refusal);
        }
        GdkPixbuf* pixbuf = complete && !truncatedPng() && !truncatedJpeg()
                                ? gdk_pixbuf_loader_get_pixbuf(loader_.get())
                                : nullptr;
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
    static constexpr std::size_t TAIL = 12;

    void remember(const std::uint8_t* data, std::size_t size) {
        for (std::size_t i = 0; i < size && head_.size() < 8; ++i) {
            head_.push_back(data[i]);
        }
        const std::size_t keep = std::min(size, TAIL);
        tail_.insert(tail_.end(), data + size - keep, data + size);
        for (std::size_t i = 0; i < size; ++i, ++offset_) {
            if (previousWasFF_ && data[i] == 0xDA) {
                lastScanStart_ = offset_;
            } else if (previousWasFF_ && data[i] == 0xD9) {
                lastImageEnd_ = offset_;
            }
            previousWasFF_ = data[i] == 0xFF;
        }
        if (tail_.size() > TAIL) {
            tail_.erase(tail_.begin(), tail_.end() - TAIL);
        }
    }

    // The PNG loader hands back a partly filled picture when the data stops early; a complete
    // PNG always ends with its IEND chunk.
    bool truncatedPng() const {
        static constexpr std::uint8_t SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        static constexpr std::uint8_t IEND[] = {'I', 'E', 'N', 'D'};
        if (head_.size() < 8 || !std::equal(head_.begin(), head_.end(), SIGNATURE)) {
            return false;
        }
        return tail_.size() < TAIL || !std::equal(IEND, IEND + 4, tail_.begin() + 4);
    }

    // Likewise the JPEG loader fills what is missing with grey. The image data after the last
    // start-of-scan marker cannot hold a marker byte pair, so a complete file has its
    // end-of-image marker after that scan (an embedded thumbnail's markers come before it).
    bool truncatedJpeg() const {
        if (head_.size() < 2 || head_[0] != 0xFF || head_[1] != 0xD8) {
            return false;
        }
        return !lastImageEnd_ || (lastScanStart_ && *lastScanStart_ > *lastImageEnd_);
    }

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
    std::vector<std::uint8_t> head_;
    std::vector<std::uint8_t> tail_;
    std::size_t offset_ = 0;
    bool previousWasFF_ = false;
    std::optional<std::size_t> lastScanStart_;
    std::optional<std::size_t> lastImageEnd_;
    bool closed_ = false;
};

} // namespace

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

std::optional<LoadedImage> ImageReader::readData(const std::uint8_t* data, std::size_t size,
                                                 std::string* error) {
    Decoder decoder;
    // Fed in slices so that a refused header stops the work early.
    constexpr std::size_t SLICE = 64 * 1024;
    for (std::size_t offset = 0; offset < size; offset += SLICE) {
        std::size_t length = std::min(SLICE, size - offset);
        if (!decoder.write(data + offset, length)) {
            break;
        }
    }
    return decoder.finish(error);
}

std::optional<LoadedImage> ImageReader::read(const std::filesystem::path& path,
                                             std::string* error) {
    std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        const int reason = errno;
        LOG_DEBUG("cannot open {}: {}", path.string(), std::strerror(reason));
        if (error != nullptr) {
            *error = reason == ENOENT ? "no such file" : "cannot read file";
        }
        return std::nullopt;
    }
    Decoder decoder;
    std::vector<std::uint8_t> buffer(64 * 1024);
    while (true) {
        std::size_t length = std::fread(buffer.data(), 1, buffer.size(), file.get());
        if (length == 0 || !decoder.write(buffer.data(), length)) {
            break;
        }
    }
    return decoder.finish(error);
}

} // namespace lumeris
