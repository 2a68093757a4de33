#include "presets/RatioTemplates.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(RatioTemplatesTest, ThirtyOneFormatsByPlatformInListOrder) {
    EXPECT_EQ(RatioTemplates::all().size(), 31U);
    const std::pair<const char*, std::size_t> counts[] = {
        {"facebook", 5}, {"instagram", 4}, {"linkedin", 4}, {"pinterest", 6},
        {"reddit", 1},   {"snapchat", 2},  {"twitter", 7},  {"youtube", 2}};
    for (const auto& [platform, count] : counts) {
        EXPECT_EQ(RatioTemplates::forPlatform(platform).size(), count) << platform;
    }
    EXPECT_TRUE(RatioTemplates::forPlatform("myspace").empty());

    const auto& twitter = RatioTemplates::forPlatform("twitter");
    EXPECT_EQ(twitter.front(), (RatioTemplate{"Single image Tweet", {1200, 675}, "twitter"}));
    // The two LinkedIn "Company Life Tab" names carry an en dash.
    EXPECT_EQ(RatioTemplates::forPlatform("linkedin")[2].name,
              "Company Life Tab \u2013 Main image");
}
