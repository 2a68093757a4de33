#include "settings/SettingKeys.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace lumeris;

TEST(SettingKeys, ValuesAreTypedByTheirKey) {
    const std::tuple<const char*, const char*, SettingValue> cases[] = {
        {"settings.padding", "40", 40.0},
        {"settings.shadow", "2.5", 2.5},
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

// Slider ranges and text forms: the ends are allowed, anything beyond them is refused by name.
TEST(SettingKeys, ValuesOutsideTheirRangeOrFormAreRefused) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"settings.padding", "0", true},
        {"settings.padding", "200", true},
        {"settings.padding", "-20", false},
        {"settings.padding", "100000", false},
        {"settings.padding", "1e9", false},
        {"settings.inset", "100", true},
        {"settings.inset", "101", false},
        {"settings.border-radius", "60", true},
        {"settings.border-radius", "61", false},
        {"settings.shadow", "100.5", false},
        {"settings.tilt-x", "30", true},
        {"settings.tilt-y", "-1", false},
        {"settings.ratio", "auto", true},
        {"settings.ratio", "", true},
        {"settings.ratio", "16:9", true},
        {"settings.ratio", "1200x675", true},
        {"settings.ratio", "0:9", false},
        {"settings.ratio", "16:", false},
        {"settings.ratio", "+16:9", false},
        {"settings.ratio", "100000x1", false},
        {"settings.ratio", "wide", false},
        {"settings.redact-color", "#a0B1c2", true},
        {"settings.redact-color", "transparent", false},
        {"settings.redact-color", "#00000080", false},
        {"settings.bg-color.plain", "#fff", false},
        {"settings.bg-color.plain", "red;} body{", false},
    };
    for (const auto& [key, text, allowed] : cases) {
        std::string error;
        EXPECT_EQ(SettingKeys::parse(key, text, &error).has_value(), allowed) << key << "=" << text;
        if (!allowed) {
            EXPECT_TRUE(error.starts_with(key)) << error;
        }
    }
    std::string error;
    SettingKeys::parse("settings.padding", "-20", &error);
    EXPECT_EQ(error, "settings.padding takes a number from 0 to 200, not -20");
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
