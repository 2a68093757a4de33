#pragma once

#include <chrono>
#include <string>

namespace lumeris {

// Expands the date variables of a watermark text: "{date:yyyy-MM-dd}", "{time:HH:mm}" and
// "{datetime:…}" take the capture time formatted with the UTS #35 pattern after the first ":".
// Anything else between braces is left as typed.
class WatermarkParser {
public:
    static std::string parse(const std::string& text, std::chrono::system_clock::time_point date);
};

} // namespace lumeris
