#include "presets/RatioTemplates.h"

#include <gtest/gtest.h>

using namespace lumeris;

// Names, sizes and unknown platforms are PresetCommandTest's, which looks them up as --size does.
TEST(RatioTemplatesTest, ThirtyOneFormatsByPlatform) {
    EXPECT_EQ(RatioTemplates::all().size(), 31U);
    const std::pair<const char*, std::size_t> counts[] = {
        {"facebook", 5}, {"instagram", 4}, {"linkedin", 4}, {"pinterest", 6},
        {"reddit", 1},   {"snapchat", 2},  {"twitter", 7},  {"youtube", 2}};
    for (const auto& [platform, count] : counts) {
        EXPECT_EQ(RatioTemplates::forPlatform(platform).size(), count) << platform;
    }
}
