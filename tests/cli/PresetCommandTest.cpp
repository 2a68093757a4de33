#include "cli/PresetCommand.h"

#include "TemporaryFolder.h"
#include "cli/RenderOptions.h"
#include "presets/EditorPresetManager.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace lumeris;

namespace {

class PresetCommandTest : public ::testing::Test {
protected:
    PresetCommandTest() {
        SettingsStore settings(file);
        settings.registerDefaultSettings();
        settings.set(SettingKeys::PADDING, 70.0);
    }

    struct Result {
        int status;
        std::string out;
        std::string err;
    };
    Result run(std::vector<std::string> arguments) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = PresetCommand::run(arguments, file, out, err);
        return {status, out.str(), err.str()};
    }
    std::vector<EditorPreset> stored() {
        SettingsStore settings(file, SettingsStore::Persistence::InMemory);
        return EditorPresetManager(settings).getPresets();
    }
    // What `lumeris render` would use, or its usage error.
    std::variant<SettingsStore*, std::string> look(std::vector<std::string> arguments) {
        arguments.emplace_back("shot.png");
        auto parsed = RenderOptions::parse(arguments);
        if (auto* error = std::get_if<std::string>(&parsed)) {
            return *error;
        }
        renderSettings =
            std::make_unique<SettingsStore>(file, SettingsStore::Persistence::InMemory);
        renderSettings->registerDefaultSettings();
        if (auto error = std::get<RenderOptions>(parsed).applyLook(*renderSettings)) {
            return *error;
        }
        return renderSettings.get();
    }

    TemporaryFolder folder;
    std::filesystem::path file = folder / "settings.json";
    std::unique_ptr<SettingsStore> renderSettings;
};

} // namespace

TEST_F(PresetCommandTest, SavedLooksAreListedRenderedAndDeleted) {
    // The stored look plus the overrides; the settings themselves stay.
    EXPECT_EQ(
        run({"save", "docs", "--set", "settings.padding=40", "--set", "settings.background-id=sky"})
            .status,
        0);
    EXPECT_EQ(SettingsStore(file, SettingsStore::Persistence::InMemory)
                  .doubleValue(SettingKeys::PADDING, 0),
              70);
    EXPECT_EQ(run({"save", "wide"}).status, 0);
    // Saving a name again replaces that preset rather than adding one.
    EXPECT_EQ(run({"save", "docs", "--set", "settings.padding=40"}).status, 0);
    ASSERT_EQ(stored().size(), 2U);
    EXPECT_EQ(stored()[0].name, "docs");
    EXPECT_EQ(stored()[0].padding, 40);
    EXPECT_EQ(stored()[1].padding, 70);
    EXPECT_EQ(run({"list"}).out, "docs\nwide\nDefault Preset\n");

    // --preset before --size before --set, whatever their order on the line.
    auto* settings =
        std::get<SettingsStore*>(look({"--set", "settings.shadow=5", "--size",
                                       "TWITTER/single image tweet", "--preset", "docs"}));
    EXPECT_EQ(settings->doubleValue(SettingKeys::PADDING, 0), 40);
    EXPECT_EQ(settings->string(SettingKeys::RATIO, ""), "1200x675");
    EXPECT_EQ(settings->doubleValue(SettingKeys::SHADOW, 0), 5);
    settings = std::get<SettingsStore*>(look({"--preset", "Default Preset"}));
    EXPECT_EQ(settings->string(SettingKeys::BACKGROUND_ID, ""), "nice");
    // A hyphen stands for the en dash of a name.
    settings = std::get<SettingsStore*>(look({"--size", "linkedin/Company Life Tab - Photo"}));
    EXPECT_EQ(settings->string(SettingKeys::RATIO, ""), "264x176");
    // A format that is a proportion gives that ratio, not a canvas of two by three points.
    settings = std::get<SettingsStore*>(look({"--size", "pinterest/Pin (1)"}));
    EXPECT_EQ(settings->string(SettingKeys::RATIO, ""), "2:3");

    EXPECT_EQ(run({"delete", "docs"}).status, 0);
    EXPECT_EQ(run({"list"}).out, "wide\nDefault Preset\n");
}

TEST_F(PresetCommandTest, UnknownNamesAndBadArgumentsAreUsageErrorsNamingWhatExists) {
    ASSERT_EQ(run({"save", "docs"}).status, 0);
    const std::pair<std::vector<std::string>, const char*> usage[] = {
        {{}, "list, save or delete?"},
        {{"rename", "docs"}, "unknown command rename"},
        {{"list", "docs"}, "list takes no arguments"},
        {{"save"}, "save needs a preset name"},
        {{"save", "--set", "settings.padding=1"}, "save needs a preset name"},
        {{"save", "x", "--set"}, "--set takes KEY=VALUE"},
        {{"save", "x", "--set", "padding"}, "--set takes KEY=VALUE"},
        {{"save", "x", "extra"}, "unknown argument extra"},
        {{"save", "x", "--set", "settings.padding=wide"}, "settings.padding"},
        {{"save", "Default Preset"}, "the editor's own menu entry"},
        {{"delete", "New Preset..."}, "the editor's own menu entry"},
        {{"delete", "nosuch"}, "no stored preset named 'nosuch'; the stored presets are 'docs'"},
    };
    for (const auto& [arguments, message] : usage) {
        const auto result = run(arguments);
        EXPECT_EQ(result.status, 2) << message;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    }
    ASSERT_EQ(stored().size(), 1U);

    const std::pair<std::vector<std::string>, const char*> renderErrors[] = {
        {{"--preset", "nosuch"},
         "no preset named 'nosuch'; the presets are 'docs', 'Default Preset'"},
        {{"--size", "twitter"}, "--size takes PLATFORM/NAME; see --list-sizes"},
        {{"--size", "myspace/Banner"},
         "--size: no platform 'myspace'; the platforms are "
         "'facebook', 'instagram', 'linkedin', 'pinterest', "
         "'reddit', 'snapchat', 'twitter', 'youtube'"},
        {{"--size", "youtube/Banner"},
         "--size: youtube has no size 'Banner'; its sizes are 'Video thumbnail', 'Community Post'"},
        {{"--preset", ""}, "--preset needs a preset name"},
    };
    for (const auto& [arguments, message] : renderErrors) {
        EXPECT_EQ(std::get<std::string>(look(arguments)), message);
    }
}

TEST_F(PresetCommandTest, UnreadablePresetsAreReportedAndKeptAside) {
    {
        SettingsStore settings(file);
        const std::string broken = R"([{"name": "half"}])";
        settings.set(SettingKeys::PRESETS_STORAGE_KEY, RawData{{broken.begin(), broken.end()}});
    }
    const auto listed = run({"list"});
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(listed.out, "Default Preset\n");
    EXPECT_NE(listed.err.find("presets.unreadable.json"), std::string::npos);
    EXPECT_NE(std::get<std::string>(look({"--preset", "half"})).find("cannot be read"),
              std::string::npos);
    // Saving starts a new list; the old data stays where it was kept.
    EXPECT_EQ(run({"save", "fresh"}).status, 0);
    EXPECT_EQ(stored().size(), 1U);
    EXPECT_TRUE(std::filesystem::exists(folder / "presets.unreadable.json"));
}
