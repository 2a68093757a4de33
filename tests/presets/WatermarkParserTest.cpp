#include "presets/WatermarkParser.h"

#include <ctime>
#include <gtest/gtest.h>

using lumeris::WatermarkParser;

namespace {

std::chrono::system_clock::time_point localTime(int year, int month, int day, int hour,
                                                int minute) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&fields));
}

const auto CAPTURE = localTime(2024, 3, 5, 14, 7);

} // namespace

TEST(WatermarkParser, ExpandsDateVariablesWithTheCaptureTime) {
    EXPECT_EQ(WatermarkParser::parse("Shot {date:yyyy-MM-dd} at {time:HH:mm}", CAPTURE),
              "Shot 2024-03-05 at 14:07");
    EXPECT_EQ(WatermarkParser::parse("{datetime:yyyy} and {datetime:yyyy}", CAPTURE),
              "2024 and 2024");
    EXPECT_EQ(WatermarkParser::parse("© {date:yyyy} Ünïcødé — {date:MM}", CAPTURE),
              "© 2024 Ünïcødé — 03");
    // Quoted literal text in the pattern is the formatter's business.
    EXPECT_EQ(WatermarkParser::parse("{date:'week' w}", CAPTURE), "week 10");
}

TEST(WatermarkParser, LeavesEverythingElseAsTyped) {
    for (const char* text : {"{date}", "{weekday:EEEE}", "{{date:yyyy}}", "{uuid}", "{datetime}",
                             "no variables", "", "unmatched {date:yyyy", "}{date:yyyy"}) {
        EXPECT_EQ(WatermarkParser::parse(text, CAPTURE), text) << text;
    }
    EXPECT_EQ(WatermarkParser::parse("{date} {date:yyyy}", CAPTURE), "{date} 2024");
}
