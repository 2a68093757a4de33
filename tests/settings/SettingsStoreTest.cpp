#include "settings/SettingsStore.h"

#include "TemporaryFolder.h"
#include "settings/SettingKeys.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace lumeris;

namespace {

class SettingsStoreTest : public testing::Test {
protected:
    TemporaryFolder folder;
    std::filesystem::path file = folder / "config" / "settings.json";
    StandardFolders standardFolders{folder / "data" / "Lumeris" / "Archives", folder / "Desktop"};

    void writeFile(const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    nlohmann::json readFile() {
        std::ifstream stream(file);
        return nlohmann::json::parse(stream);
    }
};

} // namespace

TEST_F(SettingsStoreTest, FreshStoreGetsEveryRegisteredDefault) {
    SettingsStore store(file);
    store.registerDefaultSettings(standardFolders);

    auto stored = readFile();
    EXPECT_EQ(stored.size(), 29u);
    EXPECT_EQ(stored["share-anonymous-reports"], true);
    EXPECT_TRUE(stored["settings.padding"].is_number_float());
    EXPECT_EQ(store.doubleValue("settings.padding", 0), 100.0);
    EXPECT_EQ(store.doubleValue("settings.inset", 0), 20.0);
    EXPECT_EQ(store.doubleValue("settings.border-radius", 0), 20.0);
    EXPECT_EQ(store.doubleValue("settings.shadow", 0), 25.0);
    EXPECT_EQ(store.doubleValue("settings.tilt-x", 0), 15.0);
    EXPECT_EQ(store.doubleValue("settings.tilt-y", 0), 15.0);
    EXPECT_EQ(store.string("settings.bg-color.plain", ""), "#40a5d2");
    EXPECT_EQ(store.string("settings.bg-color.gradient-start", ""), "#c04180");
    EXPECT_EQ(store.string("settings.bg-color.gradient-stop", ""), "#e55074");
    EXPECT_EQ(store.string("settings.bg-color.option", ""), "plain");
    EXPECT_EQ(store.string("settings.background-id", ""), "rain");
    EXPECT_EQ(store.string("settings.default-file-name", ""), "Lumeris-{datetime}");
    EXPECT_FALSE(store.boolValue("settings.auto-redact.credit-cards", true));
    EXPECT_TRUE(store.boolValue("settings.auto-redact.emails", false));
    EXPECT_EQ(store.stringArray("settings.watermark-templates", {}),
              StringArray{std::string(SettingKeys::DEFAULT_WATERMARK_TEXT)});

    // The two folders exist and are what rows 12 and 13 point at.
    EXPECT_EQ(store.string("settings.screenshot-path", ""), standardFolders.archives.string());
    EXPECT_EQ(store.string("settings.save-path", ""), standardFolders.desktop.string());
    EXPECT_TRUE(std::filesystem::is_directory(standardFolders.archives));
    EXPECT_TRUE(std::filesystem::is_directory(standardFolders.desktop));
}

TEST_F(SettingsStoreTest, RegistrationReplacesWrongTypesAndKeepsTheUsersValues) {
    writeFile(R"({"settings.padding": "wide", "settings.inset": 7.5, "settings.shadow": true,
                  "settings.watermark-text": "(c) Ada", "settings.ratio": "4:3"})");
    SettingsStore store(file);
    store.registerDefaultSettings(standardFolders);
    EXPECT_EQ(store.doubleValue("settings.padding", 0), 100.0);
    EXPECT_EQ(store.doubleValue("settings.inset", 0), 7.5);
    EXPECT_EQ(store.doubleValue("settings.shadow", 0), 25.0);
    // The templates start from the user's own watermark, not the credit text.
    EXPECT_EQ(store.stringArray("settings.watermark-templates", {}), StringArray{"(c) Ada"});
    EXPECT_EQ(store.string("settings.ratio", ""), "4:3");
}

TEST_F(SettingsStoreTest, TypedReadsFallBackOnMissingOrWrongType) {
    SettingsStore store(file);
    store.set("settings.padding", std::string("100"));
    EXPECT_EQ(store.doubleValue("settings.padding", 3), 3.0);
    EXPECT_EQ(store.string("settings.redact-color", "#000000"), "#000000");
    EXPECT_TRUE(store.boolValue("missing", true));
    store.set("flag", 1.0);
    EXPECT_FALSE(store.boolValue("flag", false));
    EXPECT_EQ(store.stringArray("flag", {"x"}), StringArray{"x"});
}

TEST_F(SettingsStoreTest, ValuesKeepTheirTypesAcrossReopening) {
    RawData blob{{0, 1, 2, 0xff, 0x80, '"', '\\', 0}};
    {
        SettingsStore store(file);
        store.set("b", true);
        store.set("d", 100.0);
        store.set("s", std::string("100"));
        store.set("a", StringArray{"one", "", "three \"quoted\""});
        store.set("raw", blob);
        store.set("empty-raw", RawData{});
        store.set("hotkey", Shortcut::defaultCaptureAndCopy().toDictionary());
    }
    SettingsStore reopened(file);
    EXPECT_EQ(reopened.value("b"), SettingValue(true));
    EXPECT_EQ(reopened.value("d"), SettingValue(100.0));
    EXPECT_EQ(reopened.value("s"), SettingValue(std::string("100")));
    EXPECT_EQ(reopened.stringArray("a", {}), (StringArray{"one", "", "three \"quoted\""}));
    EXPECT_EQ(reopened.data("raw"), blob);
    EXPECT_EQ(reopened.data("empty-raw"), RawData{});
    EXPECT_EQ(reopened.shortcut("hotkey", Shortcut::defaultCapture()),
              Shortcut::defaultCaptureAndCopy());
    EXPECT_TRUE(readFile()["d"].is_number_float());
}

TEST_F(SettingsStoreTest, ObservedPathAndPlainKeyAreTheSameValue) {
    SettingsStore store(file);
    std::vector<std::string> heardByPath;
    std::vector<std::string> heardByKey;
    auto byPath = store.observe("values.settings.padding",
                                [&](const std::string& key) { heardByPath.push_back(key); });
    auto byKey = store.observe("settings.padding",
                               [&](const std::string& key) { heardByKey.push_back(key); });

    store.set("values.settings.padding", 40.0);
    EXPECT_EQ(store.doubleValue("settings.padding", 0), 40.0);
    store.set("settings.padding", 60.0);
    EXPECT_EQ(store.doubleValue("values.settings.padding", 0), 60.0);
    store.set("settings.inset", 1.0);
    EXPECT_EQ(heardByPath.size(), 2u);
    EXPECT_EQ(heardByKey, heardByPath);

    // An ended subscription hears nothing more.
    byPath = {};
    store.set("settings.padding", 80.0);
    EXPECT_EQ(heardByPath.size(), 2u);
    EXPECT_EQ(heardByKey.size(), 3u);
}

TEST_F(SettingsStoreTest, ObserversMayWriteAndUnsubscribeWhileNotified) {
    SettingsStore store(file);
    SettingsStore::Subscription self;
    self = store.observe("a", [&](const std::string&) {
        self = {};
        store.set("b", 2.0);
    });
    store.set("a", 1.0);
    store.set("a", 3.0);
    EXPECT_EQ(store.doubleValue("b", 0), 2.0);
}

TEST_F(SettingsStoreTest, FactoryResetRemovesEverythingUntilTheNextRegistration) {
    SettingsStore store(file);
    store.registerDefaultSettings(standardFolders);
    store.set("presetsStorageKey", RawData{{1, 2, 3}});
    store.set("tooltip-once-x", true);
    bool heard = false;
    auto subscription =
        store.observe("settings.save-path", [&](const std::string&) { heard = true; });

    store.factoryReset();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(heard);
    EXPECT_EQ(store.string("settings.save-path", ""), "");
    EXPECT_FALSE(store.data("presetsStorageKey"));
    EXPECT_EQ(SettingsStore(file).value("settings.padding"), std::nullopt);

    store.registerDefaultSettings(standardFolders);
    EXPECT_EQ(store.doubleValue("settings.padding", 0), 100.0);
}

TEST_F(SettingsStoreTest, CorruptFileIsSetAsideAndTheStoreStartsEmpty) {
    writeFile("{\"settings.padding\": 40,");
    SettingsStore store(file);
    EXPECT_EQ(store.value("settings.padding"), std::nullopt);
    bool keptAside = false;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        keptAside |= entry.path().filename().string().starts_with("settings.json.corrupt-");
    }
    EXPECT_TRUE(keptAside);

    store.set("settings.padding", 40.0);
    EXPECT_EQ(SettingsStore(file).doubleValue("settings.padding", 0), 40.0);
}

TEST_F(SettingsStoreTest, UnwritableFolderLosesNoValueInMemory) {
    writeFile("{}");
    std::filesystem::permissions(file.parent_path(), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
    SettingsStore store(file);
    store.set("settings.padding", 12.0);
    EXPECT_EQ(store.doubleValue("settings.padding", 0), 12.0);
    std::filesystem::permissions(file.parent_path(), std::filesystem::perms::owner_all);
}

TEST_F(SettingsStoreTest, ShortcutsFallBackToControlAltSuperDigits) {
    SettingsStore store(file);
    store.set("global-hotkey", SettingDictionary{});
    auto capture = store.shortcut("global-hotkey", Shortcut::defaultCapture());
    EXPECT_EQ(capture, Shortcut::defaultCapture());
    EXPECT_EQ(capture.displayText(), "Ctrl+Alt+Super+4");
    EXPECT_EQ(capture.keyCode, 0x34u);
    EXPECT_EQ(store.shortcut("take-and-copy-to-clipboard-hotkey", Shortcut::defaultCaptureAndCopy())
                  .displayText(),
              "Ctrl+Alt+Super+5");

    store.set("global-hotkey", std::string("ctrl+4"));
    EXPECT_EQ(store.shortcut("global-hotkey", Shortcut::defaultCapture()),
              Shortcut::defaultCapture());
    SettingDictionary broken;
    broken.entries = {{"keyCode", "a"}, {"modifierFlags", 4}};
    store.set("global-hotkey", broken);
    EXPECT_EQ(store.shortcut("global-hotkey", Shortcut::defaultCapture()),
              Shortcut::defaultCapture());

    Shortcut recorded{'k', Shortcut::SHIFT_MASK | Shortcut::SUPER_MASK, "K", "k"};
    store.set("global-hotkey", recorded.toDictionary());
    EXPECT_EQ(store.shortcut("global-hotkey", Shortcut::defaultCapture()), recorded);
    EXPECT_EQ(recorded.displayText(), "Shift+Super+K");
}
