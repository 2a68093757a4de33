#include "capture/ScreenCapture.h"

#include "TemporaryFolder.h"
#include "capture/CommandCaptureTool.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/stat.h>

using namespace lumeris;
namespace fs = std::filesystem;

namespace {

class ScreenCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A capture command as the setting names one: it logs its arguments and writes the file
        // named last; the other ends the selection without writing.
        script("writes", "echo \"$@\" > \"$(dirname \"$0\")/arguments\"\n"
                         "for last; do :; done\nprintf picture > \"$last\"\n");
        script("cancels", "exit 1\n");
        fs::create_directories(folder / "tmp");
    }

    void script(const std::string& name, const std::string& body) {
        std::ofstream(folder / name) << "#!/bin/sh\n" << body;
        chmod((folder / name).c_str(), 0755);
    }

    // Runs one capture through `backends` and waits for its end.
    std::optional<fs::path> capture(std::vector<std::string> backends, bool onlyWindow = false) {
        auto screen = std::make_shared<ScreenCapture>(
            [backends] { return backends; },
            [](const std::string& backend) { return CommandCaptureTool::forBackend(backend); },
            folder / "tmp", [this] { ++noTool; });
        std::optional<std::optional<fs::path>> captured;
        EXPECT_TRUE(screen->capturePic(onlyWindow, [&](auto file) { captured = std::move(file); }));
        EXPECT_FALSE(screen->capturePic(false, [](auto) { FAIL() << "ran while busy"; }));
        while (!captured) {
            g_main_context_iteration(nullptr, TRUE);
        }
        EXPECT_FALSE(screen->running());
        return *captured;
    }

    TemporaryFolder folder;
    int noTool = 0;
};

} // namespace

TEST_F(ScreenCaptureTest, UnavailableToolsHandOverAndACancelEndsTheCapture) {
    const std::string writes = (folder / "writes").string();
    const std::string cancels = (folder / "cancels").string();
    const std::string missing = (folder / "missing").string();

    auto captured = capture({missing, writes});
    ASSERT_TRUE(captured);
    EXPECT_EQ(captured->parent_path(), folder / "tmp");
    EXPECT_TRUE(std::regex_match(
        captured->filename().string(),
        std::regex(R"(Lumeris-\d{4}-\d\d-\d\d-\d\d\.\d\d\.\d\d-[0-9A-F-]{36}\.png)")))
        << *captured;
    EXPECT_EQ(fileText(*captured), "picture");
    EXPECT_EQ(fileText(folder / "arguments"), "-i -o -a " + captured->string() + "\n");

    captured = capture({writes}, true);
    ASSERT_TRUE(captured);
    EXPECT_EQ(fileText(folder / "arguments"), "-i -o -a -w " + captured->string() + "\n");

    EXPECT_FALSE(capture({cancels, writes})) << "a cancelled selection tries no other tool";
    EXPECT_EQ(noTool, 0);
    EXPECT_FALSE(capture({missing}));
    EXPECT_FALSE(capture({}));
    EXPECT_EQ(noTool, 2) << "no tool at all is told apart from a cancel";
}

TEST_F(ScreenCaptureTest, ASelectorsOutputBecomesTheCapturesArgument) {
    const struct {
        const char* selector;
        std::optional<std::string> written;
    } cases[] = {
        {"echo ' 10,20 30x40 '", "10,20 30x40"},
        {"exit 1", std::nullopt},
        {"true", std::nullopt},
    };
    for (const auto& test : cases) {
        auto tool = std::make_shared<CommandCaptureTool>([&test](bool, const fs::path& output) {
            return CaptureCommands::Invocation{{"sh", "-c", test.selector},
                                               {"sh", "-c", "printf %s \"$1\" > \"$2\"", "sh",
                                                std::string(CaptureCommands::SELECTION),
                                                output.string()}};
        });
        std::optional<CaptureOutcome> outcome;
        tool->capture(false, folder / "selected.png",
                      [&](CaptureOutcome ended) { outcome = ended; });
        while (!outcome) {
            g_main_context_iteration(nullptr, TRUE);
        }
        EXPECT_EQ(outcome, test.written ? CaptureOutcome::Captured : CaptureOutcome::Cancelled)
            << test.selector;
        if (test.written) {
            EXPECT_EQ(fileText(folder / "selected.png"), *test.written);
            fs::remove(folder / "selected.png");
        }
    }
}
