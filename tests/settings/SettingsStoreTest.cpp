#include "settings/SettingsStore.h"

#include "TemporaryFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace lumeris;
namespace fs = std::filesystem;

namespace {

class SettingsStoreTest : public testing::Test {
protected:
    TemporaryFolder folder;
    fs::path file = folder / "config" / "settings.json";
    StandardFolders standardFolders{folder / "data" / "Archives", folder / "Desktop"};

    void writeFile(const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
};

} // namespace

TEST_F(SettingsStoreTest, RegistrationFillsMissingOrMistypedValuesUntilAFactoryReset) {
    writeFile(R"({"settings.padding": "wide", "settings.inset": 7.5,
                  "settings.watermark-text": "(c) Ada", "settings.ratio": "4:3"})");
    SettingsStore store(file);
    store.registerDefaultSettings(standardFolders);
    // The 29 registered keys and the user's own.
    EXPECT_EQ(nlohmann::json::parse(std::ifstream(file)).size(), 30u);
    EXPECT_EQ(store.doubleValue("settings.padding", 0), 100.0);
    EXPECT_EQ(store.doubleValue("settings.inset", 0), 7.5);
    EXPECT_EQ(store.string("settings.ratio", ""), "4:3");
    // The templates start from the user's own watermark, not the credit text.
    EXPECT_EQ(store.stringArray("settings.watermark-templates", {}), StringArray{"(c) Ada"});
    EXPECT_EQ(store.string("settings.screenshot-path", ""), standardFolders.archives.string());
    EXPECT_EQ(store.string("settings.save-path", ""), standardFolders.desktop.string());
    EXPECT_TRUE(fs::is_directory(standardFolders.desktop));

    // A factory reset removes everything, observers hear it, until the next registration.
    bool heard = false;
    auto subscription =
        store.observe("settings.save-path", [&](const std::string&) { heard = true; });
    store.factoryReset();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(heard);
    EXPECT_EQ(SettingsStore(file).value("settings.inset"), std::nullopt);
    store.registerDefaultSettings(standardFolders);
    EXPECT_EQ(store.doubleValue("settings.inset", 0), 20.0);
}

TEST_F(SettingsStoreTest, ValuesKeepTheirTypesAcrossReopeningAndWrongTypesFallBack) {
    const std::pair<const char*, SettingValue> values[] = {
        {"b", true},
        {"d", 100.0},
        {"s", std::string("100")},
        {"empty-raw", RawData{}},
        {"a", StringArray{"one", "", "three \"quoted\""}},
        {"raw", RawData{{0, 1, 2, 0xff, 0x80, '"', '\\', 0}}},
        {"hotkey", Shortcut::defaultCaptureAndCopy().toDictionary()}};
    {
        SettingsStore store(file);
        for (const auto& [key, value] : values) {
            store.set(key, value);
        }
    }
    SettingsStore reopened(file);
    for (const auto& [key, value] : values) {
        EXPECT_EQ(reopened.value(key), value) << key;
    }
    EXPECT_EQ(reopened.doubleValue("s", 3), 3.0);
    EXPECT_FALSE(reopened.boolValue("d", false));
}

TEST_F(SettingsStoreTest, ObserversHearBothKeyFormsAndMayUnsubscribeWhileNotified) {
    SettingsStore store(file);
    std::vector<std::string> heardByPath;
    int heardByKey = 0;
    auto byPath = store.observe("values.settings.padding",
                                [&](const std::string& key) { heardByPath.push_back(key); });
    SettingsStore::Subscription byKey;
    byKey = store.observe("settings.padding", [&](const std::string&) {
        ++heardByKey;
        byKey = {};
        store.set("settings.inset", 2.0);
    });
    store.set("values.settings.padding", 40.0);
    EXPECT_EQ(store.doubleValue("settings.padding", 0), 40.0);
    store.set("settings.padding", 60.0);
    EXPECT_EQ(store.doubleValue("values.settings.padding", 0), 60.0);
    EXPECT_EQ(heardByPath, (std::vector<std::string>{"settings.padding", "settings.padding"}));
    EXPECT_EQ(heardByKey, 1);
    EXPECT_EQ(store.doubleValue("settings.inset", 0), 2.0);
}

TEST_F(SettingsStoreTest, CorruptFileIsSetAsideAndAFailedWriteLosesNoValueInMemory) {
    writeFile("{\"settings.padding\": 40,");
    SettingsStore store(file);
    EXPECT_EQ(store.value("settings.padding"), std::nullopt);
    // Set aside under a new name, not copied.
    ASSERT_EQ(entryCount(file.parent_path()), 1);
    EXPECT_TRUE(fs::directory_iterator(file.parent_path())
                    ->path()
                    .filename()
                    .string()
                    .starts_with("settings.json.corrupt-"));
    store.set("settings.padding", 40.0);
    EXPECT_EQ(SettingsStore(file).doubleValue("settings.padding", 0), 40.0);

    // A file where the folder should be: no write can succeed, not even as root.
    SettingsStore blocked(file / "settings.json");
    blocked.set("settings.padding", 12.0);
    EXPECT_EQ(blocked.doubleValue("settings.padding", 0), 12.0);
}

TEST_F(SettingsStoreTest, InMemoryStartsFromTheFileAndNeverTouchesIt) {
    writeFile(R"({"settings.padding": 40.0})");
    {
        SettingsStore store(file, SettingsStore::Persistence::InMemory);
        EXPECT_EQ(store.doubleValue("settings.padding", 0), 40.0);
        store.registerDefaultSettings(standardFolders);
        store.set("settings.padding", 10.0);
        EXPECT_EQ(store.doubleValue("settings.padding", 0), 10.0);
        store.factoryReset();
    }
    EXPECT_EQ(SettingsStore(file).doubleValue("settings.padding", 0), 40.0);
    // Not even a corrupt file is set aside.
    writeFile("not json");
    EXPECT_EQ(SettingsStore(file, SettingsStore::Persistence::InMemory).value("settings.padding"),
              std::nullopt);
    EXPECT_EQ(entryCount(file.parent_path()), 1);
}

// Their texts are HotkeyControllerTest's.
TEST_F(SettingsStoreTest, ShortcutsFallBackToControlAltSuperDigits) {
    SettingsStore store(file);
    SettingDictionary broken;
    broken.entries = {{"keyCode", "a"}, {"modifierFlags", 4}};
    for (const SettingValue& value : {SettingValue(SettingDictionary{}), SettingValue(broken),
                                      SettingValue(std::string("text"))}) {
        store.set("global-hotkey", value);
        EXPECT_EQ(store.shortcut("global-hotkey", Shortcut::defaultCapture()),
                  Shortcut::defaultCapture());
    }
    Shortcut recorded{'k', Shortcut::SHIFT_MASK | Shortcut::SUPER_MASK, "K", "k"};
    store.set("global-hotkey", recorded.toDictionary());
    EXPECT_EQ(store.shortcut("global-hotkey", Shortcut::defaultCapture()), recorded);
}
