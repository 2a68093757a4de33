#include "base/ColorText.h"

#include <cmath>
#include <gtest/gtest.h>

using lumeris::ColorText;

TEST(ColorText, HexStringsRoundAndClampComponents) {
    EXPECT_EQ(ColorText::colorHexString(1, 0.5, 0), "#FF8000");
    EXPECT_EQ(ColorText::colorHexString(0.2, 0.4, 0.6), "#336699");
    EXPECT_EQ(ColorText::colorHexString(NAN, 0, 0), "#FFFFFF");
    EXPECT_EQ(ColorText::colorHexString(1.2, -0.1, 0), "#FF0000");
}

TEST(ColorText, ParsesLikeAHexadecimalScanner) {
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"#1a2B3c", 0x1A2B3C},
        {"0x00ff00", 0x00FF00},
        {"#FFFFFFFFFF", 0xFFFFFFFF}, // saturates
        {"zz12", 0},                 // digits exist, but none at the start
        {"red", 0},                  // "e" and "d" are hexadecimal
        {"#", std::nullopt},
        {"xyz", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ColorText::parseHexColor(text), expected) << text;
    }
}
