#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumeris {

// Base64 with the standard alphabet and "=" padding, on one line (data: URLs, stored blobs).
class Base64 {
public:
    static std::string encode(const std::uint8_t* data, std::size_t size);
    static std::string encode(const std::vector<std::uint8_t>& data);

    // Accepts padded or unpadded text; line breaks and spaces are skipped. Any other character
    // outside the alphabet, or a length no encoder produces, gives nothing.
    static std::optional<std::vector<std::uint8_t>> decode(std::string_view text);
};

} // namespace lumeris
