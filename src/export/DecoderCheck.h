#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace lumeris {

// A full, strict decoding pass over PNG and JPEG data, for what GdkPixbuf lets through: its
// loaders hand back a picture with garbage or grey rows when the image data is corrupt or stops
// early, even when a valid trailer follows. Pixels are decoded one row at a time (JPEG at an
// eighth of its size), so the pass costs a row of memory, not a picture.
class DecoderCheck {
public:
    static constexpr const char* INCOMPLETE = "incomplete image";
    static constexpr const char* CORRUPT = "corrupt image data";

    // The reason PNG data cannot be trusted ("incomplete image", "corrupt image data: …", or
    // the size refusal of ImageReader::sizeProblem), or nothing when it decodes cleanly.
    static std::optional<std::string> png(const std::uint8_t* data, std::size_t size);

    // The same for JPEG data: any warning of the decoder (premature end of data, corrupt
    // entropy-coded data) counts.
    static std::optional<std::string> jpeg(const std::uint8_t* data, std::size_t size);
};

} // namespace lumeris
