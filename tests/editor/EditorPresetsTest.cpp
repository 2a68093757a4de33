#include "editor/EditorPresets.h"

#include "fakes/FakeAlerts.h"
#include "settings/SettingKeys.h"
#include "support/EditorFixture.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

void storeRaw(SettingsStore& settings, const std::string& text) {
    settings.set(SettingKeys::PRESETS_STORAGE_KEY, RawData{{text.begin(), text.end()}});
}

} // namespace

TEST(EditorPresetTest, JsonKeepsTheRequiredKeysAndOnlyPresentOptionalOnes) {
    EditorPreset plain = EditorPreset::builtInDefault("");
    plain.bgOption = plain.bgPlain = plain.bgStart = plain.bgStop = std::nullopt;
    EXPECT_EQ(plain.toJson().size(), 12U);
    EXPECT_EQ(plain.toJson().begin().key(), "name");

    EditorPreset full = EditorPreset::builtInDefault("/p.png");
    full.ratioTemplate = RatioTemplate{"Story", {1080, 1920}, "instagram"};
    EXPECT_EQ(EditorPreset::fromJson(nlohmann::json::parse(full.toJson().dump())), full);

    auto missingStop = nlohmann::json::parse(full.toJson().dump());
    missingStop.erase("bgStop");
    EXPECT_EQ(EditorPreset::fromJson(missingStop)->bgStop, std::nullopt);
    auto missingWatermark = nlohmann::json::parse(full.toJson().dump());
    missingWatermark.erase("watermark");
    EXPECT_FALSE(EditorPreset::fromJson(missingWatermark));

    // Names do not take part in equality.
    EditorPreset renamed = full;
    renamed.name = "Other";
    EXPECT_EQ(renamed, full);
}

TEST(EditorPresetManagerTest, UnreadableDataIsKeptAsideAndDuplicatesGoTogether) {
    TemporaryFolder folder;
    SettingsStore settings(folder / "settings.json");
    EditorPresetManager manager(settings);
    storeRaw(settings, R"([{"name": "A"}])");
    EXPECT_TRUE(manager.getPresets().empty());
    EXPECT_EQ(fileText(manager.setAsidePath()), R"([{"name": "A"}])");

    EditorPreset a = EditorPreset::builtInDefault("");
    a.name = "A";
    manager.addPreset(a);
    manager.addPreset(a);
    a.padding = 7;
    a.inset = 99;
    manager.updatePreset(a, true, false);
    EXPECT_EQ(manager.getPresets()[0].padding, 7);
    EXPECT_EQ(manager.getPresets()[0].inset, 20);
    EXPECT_EQ(manager.getPresets()[1].padding, 100);
    manager.deletePreset("A");
    EXPECT_TRUE(manager.getPresets().empty());
}

namespace {

class EditorPresetsTest : public EditorFixture {
protected:
    FakeAlerts alerts;
    std::vector<std::string> titles;
    std::string selected;
    std::pair<bool, bool> buttons{false, false};
    std::shared_ptr<EditorController> controller;
    std::unique_ptr<EditorPresets> presets;

    void SetUp() override {
        controller = createController([this] { presets->presetStateChanged(); });
        controller->start();
        presets = std::make_unique<EditorPresets>(
            settings, *controller, alerts,
            EditorPresets::Menu{[this](const auto& t, const auto& s) {
                                    titles = t;
                                    selected = s;
                                },
                                [this](bool save, bool remove) {
                                    buttons = {save, remove};
                                },
                                [](const std::string&) {
                                }});
    }

    void movePadding(double value) {
        settings.set(SettingKeys::PADDING, value);
        controller->sliderAction();
    }
};

} // namespace

TEST_F(EditorPresetsTest, FirstEditorStoresYourPresetAndEditsFollowTheChosenOne) {
    presets->start();
    EXPECT_EQ(titles, (std::vector<std::string>{"Your Preset", "Default Preset", "New Preset..."}));
    EXPECT_EQ(selected, "Your Preset");
    EXPECT_EQ(buttons, std::make_pair(false, true));

    movePadding(42);
    EditorPresetManager manager(settings);
    EXPECT_EQ(manager.getPresets()[0].padding, 42);

    // The built-in turns into an unsaved look on the first difference, and stays so.
    presets->menuChanged("Default Preset");
    EXPECT_EQ(settings.doubleValue(SettingKeys::PADDING, 0), 100);
    movePadding(60);
    EXPECT_EQ(selected, "New Preset...");
    EXPECT_EQ(buttons, std::make_pair(true, false));
    movePadding(100);
    EXPECT_EQ(selected, "New Preset...");

    EXPECT_FALSE(presets->presetNameEntered(""));
    EXPECT_TRUE(presets->presetNameEntered("Docs"));
    EXPECT_EQ(selected, "Docs");
    EXPECT_EQ(settings.string(SettingKeys::LAST_USED_PRESET, ""), "Docs");

    presets->deleteSelected();
    alerts.answerLast(1);
    EXPECT_EQ(manager.getPresets().size(), 2U);
    presets->deleteSelected();
    alerts.answerLast(0);
    EXPECT_EQ(manager.getPresets().size(), 1U);
    EXPECT_EQ(selected, "Default Preset");
}
