#include "base/NumberText.h"

#include <gtest/gtest.h>

using lumeris::NumberText;

// Integers and the document's own numbers are pinned by the style sheet and canvas tests.
TEST(NumberText, DoublesAreShortestRoundTripPlainDecimalsWithAFractionalDigit) {
    EXPECT_EQ(NumberText::format(1440.0), "1440.0");
    EXPECT_EQ(NumberText::format(-2.5), "-2.5");
    EXPECT_EQ(NumberText::format(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(NumberText::format(1e16), "10000000000000000.0");
    EXPECT_EQ(NumberText::format(0.00001), "0.00001");
}
