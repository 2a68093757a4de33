#include "cli/RenderOptions.h"

#include "TemporaryFolder.h"
#include "settings/SettingsStore.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>

using namespace lumeris;

namespace {

std::variant<RenderOptions, std::string> parse(std::vector<std::string> arguments) {
    return RenderOptions::parse(arguments);
}

// Options that must parse.
RenderOptions options(std::vector<std::string> arguments) {
    auto parsed = parse(std::move(arguments));
    EXPECT_TRUE(std::holds_alternative<RenderOptions>(parsed));
    return std::holds_alternative<RenderOptions>(parsed) ? std::get<RenderOptions>(parsed)
                                                         : RenderOptions{};
}

} // namespace

TEST(RenderOptionsTest, ReadsEveryOptionAndKeepsFilesInOrder) {
    auto o =
        options({"a.png", "-d", "out", "--jpeg", "--scale", "2", "--set", "settings.padding=40",
                 "--set", "settings.watermark-text=a=b", "-q", "--wrap", "--", "-odd.png"});
    EXPECT_EQ(o.inputs, (std::vector<std::string>{"a.png", "-odd.png"}));
    EXPECT_EQ(std::tuple(o.outputDir, o.jpeg, o.quiet, o.wrap, o.scale),
              std::tuple("out", true, true, true, 2));
    ASSERT_EQ(o.overrides.size(), 2U);
    EXPECT_EQ(o.overrides[1],
              (std::pair<std::string, std::string>{"settings.watermark-text", "a=b"}));
    // Standard streams, help and the settings list.
    auto piped = options({"-", "-o", "-"});
    EXPECT_EQ(piped.inputs, std::vector<std::string>{"-"});
    EXPECT_EQ(piped.output, "-");
    EXPECT_TRUE(options({"--list-settings"}).listSettings);
    EXPECT_TRUE(options({"--help"}).help);
}

TEST(RenderOptionsTest, RefusesWhatCannotBeDone) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "no input files"},
        {{"a.png", "--bogus"}, "unknown option --bogus"},
        {{"a.png", "-o"}, "--output needs a file name"},
        {{"a.png", "b.png", "-o", "x.png"},
         "--output takes one input; use --output-dir for several"},
        {{"-", "a.png", "-o", "-"}, "--output takes one input; use --output-dir for several"},
        {{"a.png", "-o", "x.png", "-d", "out"}, "--output and --output-dir exclude each other"},
        {{"-", "a.png", "-"}, "standard input (-) can be read once"},
        {{"a.png", "--set", "=1"}, "--set takes KEY=VALUE"},
        {{"a.png", "--set", "settings.padding"}, "--set takes KEY=VALUE"},
    };
    for (const auto& [arguments, error] : cases) {
        EXPECT_EQ(std::get<std::string>(parse(arguments)), error);
    }
    for (const char* scale : {"0", "5", "1.5", "", "12"}) {
        EXPECT_EQ(std::get<std::string>(parse({"a.png", "--scale", scale})),
                  "--scale takes a whole number from 1 to 4")
            << scale;
    }
}

TEST(RenderOptionsTest, OverridesAreTypedAndAllOrNothing) {
    TemporaryFolder folder;
    SettingsStore settings(folder / "settings.json", SettingsStore::Persistence::InMemory);
    auto good =
        options({"a.png", "--set", "settings.padding=40", "--set", "settings.auto-redact=false"});
    EXPECT_EQ(good.applyLook(settings), std::nullopt);
    EXPECT_EQ(settings.doubleValue("settings.padding", 0), 40.0);
    EXPECT_FALSE(settings.boolValue("settings.auto-redact", true));

    auto bad = options({"a.png", "--set", "settings.shadow=3", "--set", "settings.padding=wide"});
    EXPECT_NE(bad.applyLook(settings).value_or("").find("settings.padding"), std::string::npos);
    EXPECT_EQ(settings.doubleValue("settings.shadow", -1), -1.0);
    EXPECT_TRUE(options({"a.png", "--set", "settings.nope=1"}).applyLook(settings));
    // In-memory overrides never reach the file.
    EXPECT_FALSE(std::filesystem::exists(folder / "settings.json"));
}

// Joining the output folder and replacing an explicit output are pinned by RenderCommandTest.
TEST(RenderOptionsTest, AnExistingResultGetsAUniqueNameBeside) {
    TemporaryFolder folder;
    auto here = options({"a.png", "--jpeg"});
    EXPECT_EQ(here.outputPathFor("Shot.png", folder.path()), folder / "Shot.jpg");
    const auto unique = here.outputPathFor("Shot.png", folder.path(), 1);
    EXPECT_EQ(unique.parent_path(), folder.path());
    EXPECT_TRUE(
        std::regex_match(unique.filename().string(), std::regex("Shot-[-0-9A-Fa-f]{36}\\.jpg")));
}
