#include "base/ColorText.h"

#include "base/Logger.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace lumeris {

std::string ColorText::colorHexString(double red, double green, double blue) {
    if (!std::isfinite(red) || !std::isfinite(green) || !std::isfinite(blue)) {
        return "#FFFFFF";
    }
    auto byte = [](double component) {
        return static_cast<unsigned>(std::lround(std::clamp(component, 0.0, 1.0) * 255.0));
    };
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", byte(red), byte(green), byte(blue));
    return text;
}

std::optional<std::uint32_t> ColorText::parseHexColor(std::string_view text) {
    std::string rest(text);
    for (std::size_t at = rest.find("0x"); at != std::string::npos; at = rest.find("0x", at)) {
        rest.erase(at, 2);
    }
    rest.erase(std::remove(rest.begin(), rest.end(), '#'), rest.end());
    if (std::none_of(rest.begin(), rest.end(), [](unsigned char c) { return std::isxdigit(c); })) {
        LOG_ERROR("Unable to parse color? \"{}\"", std::string(text));
        return std::nullopt;
    }
    // A scanner's reading: leading blanks skipped, digits read from the start, a value too
    // large for 32 bits saturates, no digits at all give 0.
    std::size_t at = 0;
    while (at < rest.size() && std::isspace(static_cast<unsigned char>(rest[at]))) {
        ++at;
    }
    if (rest.compare(at, 2, "0X") == 0) {
        at += 2;
    }
    std::uint64_t value = 0;
    for (; at < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[at])); ++at) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(rest[at])));
        value = value * 16 + static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
        value = std::min<std::uint64_t>(value, std::numeric_limits<std::uint32_t>::max());
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace lumeris
