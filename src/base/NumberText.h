#pragma once

#include <cstdint>
#include <string>

namespace lumeris {

// How numbers are written into the document, the style sheet, scripts and diagnostic lines:
// a double in the shortest decimal that reads back to the same value, always with a fractional
// digit ("1440.0", "0.1"); an integer in plain decimal.
struct NumberText {
    static std::string format(double value);
    static std::string format(std::int64_t value);
    static std::string format(int value) { return format(static_cast<std::int64_t>(value)); }
};

} // namespace lumeris
