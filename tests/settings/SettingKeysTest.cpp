#include "settings/SettingKeys.h"

#include "TemporaryFolder.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

using namespace lumeris;

TEST(SettingKeys, ValuesAreTypedByTheirKey) {
    EXPECT_EQ(SettingKeys::parse("settings.padding", "40"), SettingValue(40.0));
    EXPECT_EQ(SettingKeys::parse("settings.shadow", "-2.5"), SettingValue(-2.5));
    EXPECT_EQ(SettingKeys::parse("settings.show-watermark", "off"), SettingValue(false));
    EXPECT_EQ(SettingKeys::parse("settings.auto-redact", "TRUE"), SettingValue(true));
    EXPECT_EQ(SettingKeys::parse("settings.background-id", "custom"),
              SettingValue(std::string("custom")));
    EXPECT_EQ(SettingKeys::parse("settings.watermark-text", ""), SettingValue(std::string()));
    EXPECT_EQ(SettingKeys::parse("settings.watermark-templates", R"(["a","b"])"),
              SettingValue(StringArray{"a", "b"}));
}

TEST(SettingKeys, WrongValuesAndUnknownKeysAreNamed) {
    std::string error;
    EXPECT_FALSE(SettingKeys::parse("settings.padding", "wide", &error));
    EXPECT_EQ(error, "settings.padding takes a number, not \"wide\"");
    for (const char* number : {"", "1e999", "nan", "12px", " 1"}) {
        EXPECT_FALSE(SettingKeys::parse("settings.padding", number)) << number;
    }
    EXPECT_FALSE(SettingKeys::parse("settings.show-watermark", "maybe", &error));
    EXPECT_FALSE(SettingKeys::parse("settings.watermark-templates", R"(["a",1])", &error));
    EXPECT_FALSE(SettingKeys::parse("settings.padingg", "4", &error));
    EXPECT_EQ(error, "unknown setting \"settings.padingg\"");
}

// What --list-settings prints is what --set reads back, for every type.
TEST(SettingKeys, FormattedValuesParseBackUnchanged) {
    const std::vector<std::pair<const char*, lumeris::SettingValue>> samples{
        {"settings.show-watermark", false},
        {"settings.padding", 100.0},
        {"settings.shadow", 33.25},
        {"settings.watermark-text", std::string("© {date:yyyy} \"quoted\"")},
        {"settings.watermark-templates", lumeris::StringArray{"one", "two, \"three\""}},
    };
    for (const auto& [key, value] : samples) {
        EXPECT_EQ(SettingKeys::parse(key, SettingKeys::format(value)), value) << key;
    }
    EXPECT_EQ(SettingKeys::format(100.0), "100.0");
    const auto keys = SettingKeys::keys();
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    EXPECT_NE(std::find(keys.begin(), keys.end(), "settings.ratio"), keys.end());
    EXPECT_EQ(SettingKeys::typeName(*SettingKeys::typeOf("settings.ratio")), "text");
}

TEST(SettingsStoreInMemory, StartsFromTheFileAndNeverWritesIt) {
    TemporaryFolder folder;
    auto file = folder / "settings.json";
    std::ofstream(file) << R"({"settings.padding": 40.0})";
    {
        SettingsStore store(file, SettingsStore::Persistence::InMemory);
        EXPECT_EQ(store.doubleValue("settings.padding", 0), 40.0);
        store.registerDefaultSettings({folder / "archives", folder / "desktop"});
        store.set("settings.padding", 10.0);
        EXPECT_EQ(store.doubleValue("settings.padding", 0), 10.0);
        store.factoryReset();
    }
    EXPECT_EQ(SettingsStore(file).doubleValue("settings.padding", 0), 40.0);

    std::ofstream(file) << "not json";
    SettingsStore store(file, SettingsStore::Persistence::InMemory);
    EXPECT_EQ(store.value("settings.padding"), std::nullopt);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3);
}
