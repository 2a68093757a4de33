#include "app/LaunchWindowRule.h"

#include <gtest/gtest.h>

using namespace lumeris;
using AtLaunch = LaunchWindowRule::AtLaunch;

TEST(LaunchWindowRuleTest, HideWindowAtLaunchAndHideDockIcon) {
    struct Case {
        bool hideWindow;
        bool hideDockIcon;
        AtLaunch expected;
    } cases[] = {
        {false, false, AtLaunch::ShowPreferences},
        {false, true, AtLaunch::ShowPreferences},
        {true, true, AtLaunch::Accessory},
        {true, false, AtLaunch::Unchanged},
    };
    for (const auto& [hideWindow, hideDockIcon, expected] : cases) {
        EXPECT_EQ(LaunchWindowRule::atLaunch(hideWindow, hideDockIcon), expected)
            << hideWindow << hideDockIcon;
    }
    EXPECT_EQ(LaunchWindowRule::onReopen(true), LaunchWindowRule::OnReopen::BringWindowForward);
    EXPECT_EQ(LaunchWindowRule::onReopen(false), LaunchWindowRule::OnReopen::ShowPreferences);
}
