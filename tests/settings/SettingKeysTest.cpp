#include "settings/SettingKeys.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace lumeris;

TEST(SettingKeys, ValuesAreTypedByTheirKey) {
    const std::tuple<const char*, const char*, SettingValue> cases[] = {
        {"settings.padding", "40", 40.0},
        {"settings.shadow", "-2.5", -2.5},
        {"settings.show-watermark", "off", false},
        {"settings.auto-redact", "TRUE", true},
        {"settings.background-id", "custom", std::string("custom")},
        {"settings.watermark-text", "", std::string()},
        {"settings.watermark-templates", R"(["a","b"])", StringArray{"a", "b"}},
    };
    for (const auto& [key, text, value] : cases) {
        EXPECT_EQ(SettingKeys::parse(key, text), value) << key;
    }
}

TEST(SettingKeys, WrongValuesAndUnknownKeysAreNamed) {
    std::string error;
    EXPECT_FALSE(SettingKeys::parse("settings.padding", "wide", &error));
    EXPECT_EQ(error, "settings.padding takes a number, not \"wide\"");
    for (const char* number : {"", "1e999", "nan", "12px", " 1"}) {
        EXPECT_FALSE(SettingKeys::parse("settings.padding", number)) << number;
    }
    EXPECT_FALSE(SettingKeys::parse("settings.show-watermark", "maybe"));
    EXPECT_FALSE(SettingKeys::parse("settings.watermark-templates", R"(["a",1])"));
    EXPECT_FALSE(SettingKeys::parse("settings.padingg", "4", &error));
    EXPECT_EQ(error, "unknown setting \"settings.padingg\"");
}

// What --list-settings prints is what --set reads back, for every type.
TEST(SettingKeys, FormattedValuesParseBackUnchanged) {
    const std::pair<const char*, SettingValue> samples[] = {
        {"settings.show-watermark", false},
        {"settings.padding", 100.0},
        {"settings.shadow", 33.25},
        {"settings.watermark-text", std::string("© {date:yyyy} \"quoted\"")},
        {"settings.watermark-templates", StringArray{"one", "two, \"three\""}},
    };
    for (const auto& [key, value] : samples) {
        EXPECT_EQ(SettingKeys::parse(key, SettingKeys::format(value)), value) << key;
    }
    EXPECT_EQ(SettingKeys::format(100.0), "100.0");
    const auto keys = SettingKeys::keys();
    EXPECT_TRUE(std::ranges::is_sorted(keys));
    EXPECT_NE(std::ranges::find(keys, "settings.ratio"), keys.end());
    EXPECT_EQ(SettingKeys::typeName(*SettingKeys::typeOf("settings.ratio")), "text");
}
