#pragma once

#include "base/LoadedImage.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace lumeris {

// Decodes image files through GdkPixbuf (every installed loader: PNG, JPEG, WebP, GIF, …) into
// straight-alpha RGBA. Decoding is bounded: the size a file claims is checked before the
// decoder allocates its pixels, so a small file cannot make the program allocate gigabytes.
class ImageReader {
public:
    static constexpr int MAX_SIDE = 32767;
    // Decoded pictures, and the canvases composed around them (padding and scale included), stay
    // within this many pixels, which keeps one render under about 1 GB of memory.
    static constexpr std::int64_t MAX_PIXELS = 32'000'000;
    static constexpr std::size_t MAX_FILE_BYTES = 256 * 1024 * 1024;
    // Files at this density or above are high-density captures from other systems.
    static constexpr double HIGH_DENSITY_DPI = 144.0;

    static constexpr const char* NOT_AN_IMAGE = "not an image";
    static constexpr const char* NOT_A_FILE = "not a regular file";

    // The image at `path`, sized in points from its stored density. On failure returns nothing
    // and, when `error` is given, a short reason ("not an image", "image too large: …",
    // "incomplete image", "unsupported format: WebP", "not a regular file" for FIFOs and devices,
    // which are refused before they are opened).
    static std::optional<LoadedImage> read(const std::filesystem::path& path,
                                           std::string* error = nullptr);

    // The same for encoded bytes already in memory (clipboard data, embedded copies).
    static std::optional<LoadedImage> readData(const std::uint8_t* data, std::size_t size,
                                               std::string* error = nullptr);

    // Everything readable from `fd` (standard input), at most MAX_FILE_BYTES, decoded.
    static std::optional<LoadedImage> readStream(int fd, std::string* error = nullptr);

    // Whether the file at `path` is a PNG that any decoder turns into the pixels `read` gives: at
    // most 8 bits a channel, and nothing that asks for colour management (gamma, colour profile
    // or space, chromaticities), orientation or animation. A renderer may show such a file
    // itself in place of a copy of its pixels.
    static bool isPlainPng(const std::filesystem::path& path);

    // The reason a decoder of an image of this size is refused, or nothing when it is allowed.
    static std::optional<std::string> sizeProblem(std::int64_t width, std::int64_t height);
};

} // namespace lumeris
