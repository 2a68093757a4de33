// Any text as a watermark template, expanded with its date variables.
#include "presets/WatermarkParser.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    lumeris::WatermarkParser::parse(text, std::chrono::system_clock::time_point{});
    return 0;
}
