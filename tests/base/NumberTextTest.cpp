#include "base/NumberText.h"

#include <gtest/gtest.h>

using lumeris::NumberText;

TEST(NumberText, DoublesAreShortestRoundTripWithAFractionalDigit) {
    EXPECT_EQ(NumberText::format(1440.0), "1440.0");
    EXPECT_EQ(NumberText::format(0.1), "0.1");
    EXPECT_EQ(NumberText::format(0.0), "0.0");
    EXPECT_EQ(NumberText::format(-2.5), "-2.5");
    EXPECT_EQ(NumberText::format(1040.0 / 840.0), "1.2380952380952381");
    EXPECT_EQ(NumberText::format(0.1 + 0.2), "0.30000000000000004");
    // Large and tiny values stay in plain decimal.
    EXPECT_EQ(NumberText::format(1e16), "10000000000000000.0");
    EXPECT_EQ(NumberText::format(0.00001), "0.00001");
}

TEST(NumberText, IntegersArePlain) {
    EXPECT_EQ(NumberText::format(1440), "1440");
    EXPECT_EQ(NumberText::format(std::int64_t{-3}), "-3");
}
