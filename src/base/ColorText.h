#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumeris {

// Colours as the text users and stored settings carry them.
class ColorText {
public:
    // Components from 0 to 1 as "#RRGGBB"; "#FFFFFF" when they are not numbers.
    static std::string colorHexString(double red, double green, double blue);
    // "#RRGGBB" or "0xRRGGBB" to 0xRRGGBB. A text without any hexadecimal digit is refused
    // (and logged) rather than read as black.
    static std::optional<std::uint32_t> parseHexColor(std::string_view text);
};

} // namespace lumeris
