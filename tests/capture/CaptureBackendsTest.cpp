#include "capture/CaptureBackends.h"

#include "capture/CaptureCommands.h"
#include "capture/PermissionWatch.h"
#include "capture/RecentlyClosed.h"

#include <gtest/gtest.h>
#include <set>

using namespace lumeris;
using Arguments = std::vector<std::string>;

namespace {

CaptureEnvironment environment(bool wayland, std::string desktop, std::set<std::string> programs) {
    return CaptureEnvironment{wayland, std::move(desktop), [programs](std::string_view program) {
                                  return programs.contains(std::string(program));
                              }};
}

} // namespace

TEST(CaptureCommandsTest, EveryToolIsAskedForAnInteractiveSelectionIntoThePath) {
    const struct {
        const char* tool;
        bool window;
        Arguments selector;
        Arguments capture;
    } cases[] = {
        {"spectacle", false, {}, {"spectacle", "-b", "-n", "-r", "-o", "/t/a.png"}},
        {"spectacle", true, {}, {"spectacle", "-b", "-n", "-u", "-o", "/t/a.png"}},
        {"gnome-screenshot", false, {}, {"gnome-screenshot", "-a", "-f", "/t/a.png"}},
        {"gnome-screenshot",
         true,
         {},
         {"gnome-screenshot", "-w", "--border-effect=none", "-f", "/t/a.png"}},
        {"maim", false, {}, {"maim", "-s", "-u", "-f", "png", "/t/a.png"}},
        {"maim", true, {}, {"maim", "-s", "-u", "-t", "999999", "-f", "png", "/t/a.png"}},
        {"grim", false, {"slurp"}, {"grim", "-g", "{selection}", "-t", "png", "/t/a.png"}},
        {"grim", true, {"slurp"}, {"grim", "-g", "{selection}", "-t", "png", "/t/a.png"}},
        {"scrot", false, {}, {"scrot", "-s", "-o", "/t/a.png"}},
        {"scrot", true, {}, {"scrot", "-s", "-o", "/t/a.png"}},
    };
    for (const auto& test : cases) {
        auto invocation = CaptureCommands::invocation(test.tool, test.window, "/t/a.png");
        ASSERT_TRUE(invocation) << test.tool;
        EXPECT_EQ(invocation->selector, test.selector) << test.tool;
        EXPECT_EQ(invocation->capture, test.capture) << test.tool << " window " << test.window;
    }
    EXPECT_FALSE(CaptureCommands::invocation("portal", false, "/t/a.png"));
    EXPECT_EQ(CaptureCommands::custom("/opt/shot", false, "/t/a b.png").capture,
              (Arguments{"/opt/shot", "-i", "-o", "-a", "/t/a b.png"}));
    EXPECT_EQ(CaptureCommands::custom("/opt/shot", true, "/t/a.png").capture,
              (Arguments{"/opt/shot", "-i", "-o", "-a", "-w", "/t/a.png"}));
}

TEST(CaptureBackendsTest, TheSettingFirstThenTheDesktopsOwnToolsThatAreInstalled) {
    const std::set<std::string> all = {"spectacle", "gnome-screenshot", "maim", "grim", "slurp",
                                       "scrot"};
    const struct {
        bool wayland;
        std::set<std::string> installed;
        std::string setting;
        Arguments order;
    } cases[] = {
        {true, all, "", {"portal", "spectacle", "grim"}},
        {false, all, "", {"portal", "maim", "spectacle", "gnome-screenshot", "scrot"}},
        {true, {"grim"}, "", {"portal"}}, // grim without slurp cannot select
        {false, {"scrot"}, "/opt/fake-capture", {"/opt/fake-capture", "portal", "scrot"}},
        {false, {"scrot", "maim"}, "scrot", {"scrot", "portal", "maim"}},
        {true, {}, "portal", {"portal"}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(CaptureBackends::order(environment(test.wayland, "GNOME", test.installed),
                                         test.setting),
                  test.order)
            << test.setting << " wayland " << test.wayland;
    }
}

TEST(CaptureBackendsTest, AvailabilityAndThePackagesToSuggestFollowTheDesktop) {
    const struct {
        bool wayland;
        const char* desktop;
        Arguments packages;
    } cases[] = {
        {true, "ubuntu:GNOME", {"xdg-desktop-portal", "xdg-desktop-portal-gnome"}},
        {false, "GNOME", {"gnome-screenshot"}},
        {true, "KDE", {"xdg-desktop-portal-kde"}},
        {false, "KDE", {"kde-spectacle"}},
        {true, "sway", {"grim", "slurp"}},
        {false, "XFCE", {"maim"}},
        {false, "", {"maim"}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(CaptureBackends::suggestedPackages(environment(test.wayland, test.desktop, {})),
                  test.packages)
            << test.desktop;
    }
    const auto bare = environment(false, "XFCE", {"/opt/fake-capture"});
    EXPECT_FALSE(CaptureBackends::available(bare, "", false));
    EXPECT_FALSE(CaptureBackends::available(bare, "maim", false));
    EXPECT_TRUE(CaptureBackends::available(bare, "", true));
    EXPECT_TRUE(CaptureBackends::available(bare, "/opt/fake-capture", false));
    EXPECT_TRUE(CaptureBackends::available(environment(false, "XFCE", {"maim"}), "", false));
}

TEST(PermissionWatchTest, TheThirdFailingCheckInARowBringsTheWindowBack) {
    PermissionWatch watch;
    const struct {
        bool available;
        bool window;
    } checks[] = {{false, false}, {false, false}, {true, false}, {false, false},
                  {false, false}, {false, true},  {false, false}};
    for (const auto& check : checks) {
        EXPECT_EQ(watch.checked(check.available), check.window);
    }
}

TEST(RecentlyClosedTest, ElevenClosesGiveBackTheTenNewestNewestFirst) {
    RecentlyClosed closed;
    for (int index = 1; index <= 11; ++index) {
        closed.add("/tmp/" + std::to_string(index) + ".png");
    }
    for (int index = 11; index >= 2; --index) {
        EXPECT_EQ(closed.reopen(), std::filesystem::path("/tmp/" + std::to_string(index) + ".png"));
    }
    EXPECT_FALSE(closed.reopen());
}
