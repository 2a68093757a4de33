#include "cli/RenderOptions.h"

#include "TemporaryFolder.h"
#include "settings/SettingsStore.h"

#include <fstream>
#include <gtest/gtest.h>

using lumeris::RenderOptions;
using lumeris::SettingsStore;

namespace {

std::variant<RenderOptions, std::string> parse(std::vector<std::string> arguments) {
    return RenderOptions::parse(arguments);
}

std::string errorOf(std::vector<std::string> arguments) {
    auto parsed = parse(std::move(arguments));
    return std::holds_alternative<std::string>(parsed) ? std::get<std::string>(parsed) : "";
}

} // namespace

TEST(RenderOptionsTest, ReadsEveryOptionAndKeepsFilesInOrder) {
    auto parsed =
        parse({"a.png", "-d", "out", "--jpeg", "--scale", "2", "--set", "settings.padding=40",
               "--set", "settings.watermark-text=a=b", "-q", "--wrap", "--", "-odd.png"});
    ASSERT_TRUE(std::holds_alternative<RenderOptions>(parsed));
    const auto& options = std::get<RenderOptions>(parsed);
    EXPECT_EQ(options.inputs, (std::vector<std::string>{"a.png", "-odd.png"}));
    EXPECT_EQ(options.outputDir, "out");
    EXPECT_TRUE(options.jpeg);
    EXPECT_TRUE(options.quiet);
    EXPECT_TRUE(options.wrap);
    EXPECT_EQ(options.scale, 2);
    ASSERT_EQ(options.overrides.size(), 2U);
    EXPECT_EQ(options.overrides[1].first, "settings.watermark-text");
    EXPECT_EQ(options.overrides[1].second, "a=b");
}

TEST(RenderOptionsTest, RefusesWhatCannotBeDone) {
    EXPECT_EQ(errorOf({}), "no input files");
    EXPECT_EQ(errorOf({"a.png", "--bogus"}), "unknown option --bogus");
    EXPECT_EQ(errorOf({"a.png", "-o"}), "--output needs a file name");
    EXPECT_EQ(errorOf({"a.png", "b.png", "-o", "x.png"}),
              "--output takes one input; use --output-dir for several");
    EXPECT_EQ(errorOf({"a.png", "-o", "x.png", "-d", "out"}),
              "--output and --output-dir exclude each other");
    for (const char* scale : {"0", "5", "1.5", "", "12"}) {
        EXPECT_EQ(errorOf({"a.png", "--scale", scale}), "--scale takes a whole number from 1 to 4")
            << scale;
    }
    EXPECT_EQ(errorOf({"a.png", "--set", "=1"}), "--set takes KEY=VALUE");
    EXPECT_EQ(errorOf({"a.png", "--set", "settings.padding"}), "--set takes KEY=VALUE");
    // Help and the settings list need no input.
    EXPECT_TRUE(std::get<RenderOptions>(parse({"--list-settings"})).listSettings);
    auto help = parse({"--help"});
    ASSERT_TRUE(std::holds_alternative<RenderOptions>(help));
    EXPECT_TRUE(std::get<RenderOptions>(help).help);
}

TEST(RenderOptionsTest, OverridesAreTypedAndAllOrNothing) {
    TemporaryFolder folder;
    SettingsStore settings(folder / "settings.json", SettingsStore::Persistence::InMemory);
    auto good = std::get<RenderOptions>(
        parse({"a.png", "--set", "settings.padding=40", "--set", "settings.auto-redact=false"}));
    EXPECT_EQ(good.applyOverrides(settings), std::nullopt);
    EXPECT_EQ(settings.doubleValue("settings.padding", 0), 40.0);
    EXPECT_FALSE(settings.boolValue("settings.auto-redact", true));

    auto bad = std::get<RenderOptions>(
        parse({"a.png", "--set", "settings.shadow=3", "--set", "settings.padding=wide"}));
    auto error = bad.applyOverrides(settings);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("settings.padding"), std::string::npos);
    EXPECT_EQ(settings.doubleValue("settings.shadow", -1), -1.0);

    auto unknown = std::get<RenderOptions>(parse({"a.png", "--set", "settings.nope=1"}));
    EXPECT_TRUE(unknown.applyOverrides(settings).has_value());
    // In-memory overrides never reach the file.
    EXPECT_FALSE(std::filesystem::exists(folder / "settings.json"));
}

TEST(RenderOptionsTest, OutputPathsNeverReplaceAnEarlierResult) {
    TemporaryFolder folder;
    auto inFolder = std::get<RenderOptions>(parse({"a.png", "-d", (folder / "out").string()}));
    EXPECT_EQ(inFolder.outputPathFor("Shot.png", "/elsewhere"), folder / "out" / "Shot.png");

    auto here = std::get<RenderOptions>(parse({"a.png", "--jpeg"}));
    EXPECT_EQ(here.outputPathFor("Shot.png", folder.path()), folder / "Shot.jpg");
    std::ofstream(folder / "Shot.jpg") << "taken";
    const auto unique = here.outputPathFor("Shot.png", folder.path());
    EXPECT_EQ(unique.parent_path(), folder.path());
    EXPECT_EQ(unique.extension(), ".jpg");
    EXPECT_EQ(unique.stem().string().rfind("Shot-", 0), 0U);
    EXPECT_EQ(unique.stem().string().size(), std::string("Shot-").size() + 36);

    // An explicit output is the user's choice, even over an existing file.
    auto named = std::get<RenderOptions>(parse({"a.png", "-o", (folder / "Shot.jpg").string()}));
    EXPECT_EQ(named.outputPathFor("Other.png", "/elsewhere"), folder / "Shot.jpg");
}

TEST(RenderOptionsTest, StandardStreamsAreOneInputAndOneOutput) {
    auto piped = parse({"-", "-o", "-"});
    ASSERT_TRUE(std::holds_alternative<RenderOptions>(piped));
    EXPECT_EQ(std::get<RenderOptions>(piped).inputs, std::vector<std::string>{"-"});
    EXPECT_EQ(std::get<RenderOptions>(piped).output, "-");
    EXPECT_EQ(errorOf({"-", "a.png", "-"}), "standard input (-) can be read once");
    EXPECT_EQ(errorOf({"-", "a.png", "-o", "-"}),
              "--output takes one input; use --output-dir for several");
}
