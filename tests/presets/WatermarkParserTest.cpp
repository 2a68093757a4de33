#include "presets/WatermarkParser.h"

#include <ctime>
#include <gtest/gtest.h>

using lumeris::WatermarkParser;

namespace {

// 5 March 2024, 14:07 local time.
const auto CAPTURE = [] {
    std::tm fields{};
    strptime("2024-03-05 14:07", "%Y-%m-%d %H:%M", &fields);
    fields.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&fields));
}();

} // namespace

// Date variables take the capture time; everything else stays as typed.
TEST(WatermarkParser, ExpandsDateVariablesWithTheCaptureTime) {
    const std::pair<const char*, const char*> cases[] = {
        {"Shot {date:yyyy-MM-dd} at {time:HH:mm}", "Shot 2024-03-05 at 14:07"},
        {"{datetime:yyyy} and {datetime:yyyy}", "2024 and 2024"},
        {"© {date:yyyy} Ünïcødé — {date:MM}", "© 2024 Ünïcødé — 03"},
        {"{date:'week' w}", "week 10"}, // quoted literal text is the formatter's business
        {"{date} {date:yyyy}", "{date} 2024"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(WatermarkParser::parse(text, CAPTURE), expected) << text;
    }
    for (const char* text : {"{date}", "{weekday:EEEE}", "{{date:yyyy}}", "{uuid}", "{datetime}",
                             "no variables", "", "unmatched {date:yyyy", "}{date:yyyy"}) {
        EXPECT_EQ(WatermarkParser::parse(text, CAPTURE), text) << text;
    }
}
