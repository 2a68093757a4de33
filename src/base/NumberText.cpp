#include "base/NumberText.h"

#include <charconv>
#include <cmath>

namespace lumeris {

std::string NumberText::format(double value) {
    char buffer[400]; // enough for any double in fixed notation
    // Fixed notation with no precision is the shortest round-trip form without an exponent.
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc{}) {
        return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    }
    std::string text(buffer, end);
    if (std::isfinite(value) && text.find('.') == std::string::npos) {
        text += ".0";
    }
    return text;
}

std::string NumberText::format(std::int64_t value) {
    return std::to_string(value);
}

} // namespace lumeris
