#include "base/Base64.h"

#include <gtest/gtest.h>
#include <numeric>

using lumeris::Base64;

namespace {
std::vector<std::uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}
} // namespace

TEST(Base64, EncodesOnOneLineAndDecodesEveryByteAndLengthBack) {
    for (auto [text, encoded] : {std::pair{"f", "Zg=="}, {"fo", "Zm8="}, {"foobar", "Zm9vYmFy"}}) {
        EXPECT_EQ(Base64::encode(bytes(text)), encoded);
    }
    EXPECT_EQ(Base64::encode(std::vector<std::uint8_t>{0xFB, 0xFF, 0xBF}), "+/+/");
    EXPECT_EQ(Base64::encode(std::vector<std::uint8_t>(300, 0)).find('\n'), std::string::npos);
    std::vector<std::uint8_t> all(256);
    std::iota(all.begin(), all.end(), 0);
    for (std::size_t length = 0; length <= all.size(); length += 37) {
        std::vector<std::uint8_t> part(all.begin(), all.begin() + length);
        EXPECT_EQ(Base64::decode(Base64::encode(part)), part) << length;
    }
}

TEST(Base64, DecodeToleratesLineBreaksAndMissingPaddingButNothingElse) {
    EXPECT_EQ(Base64::decode("Zm9v\nYmFy\r\n"), bytes("foobar"));
    EXPECT_EQ(Base64::decode("Zm8"), bytes("fo"));
    for (const char* bad : {"Zm9v!", "Z", "Zm9vY", "Zg===", "Zg=a", "Z===", "Zm-_", "Zg="}) {
        EXPECT_FALSE(Base64::decode(bad)) << bad;
    }
    EXPECT_FALSE(Base64::decode(std::string_view("Zg\0=", 4)));
}
