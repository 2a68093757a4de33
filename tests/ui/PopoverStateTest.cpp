#include "TemporaryFolder.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/OnceHints.h"
#include "ui/PopoverReusePolicy.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace lumeris;

TEST(PopoverReusePolicyTest, OnlyALiveEntryShownWithReuseIsShownAgain) {
    using Action = PopoverReusePolicy::Action;
    const std::tuple<bool, bool, bool, Action> cases[]{
        {true, true, true, Action::Reuse},   {true, true, false, Action::Build},
        {true, false, false, Action::Build}, {false, true, true, Action::Build},
        {false, true, false, Action::Build}, {false, false, false, Action::Build},
    };
    for (const auto& [reuse, exists, alive, expected] : cases) {
        EXPECT_EQ(PopoverReusePolicy::decide(reuse, exists, alive), expected)
            << reuse << exists << alive;
    }
}

TEST(OnceHintsTest, DontShowAgainIsKeptInTheSettings) {
    TemporaryFolder folder;
    SettingsStore store(folder / "settings.json", SettingsStore::Persistence::InMemory);
    const auto hint = SettingKeys::ONBOARD_ASSIGN_SHORTCUT_HINT;
    OnceHints hints(store);
    EXPECT_FALSE(hints.isSuppressed(hint));
    hints.dontShowAgain(hint);
    EXPECT_FALSE(hints.isSuppressed("another-hint"));
    // A later run reads the same setting.
    EXPECT_TRUE(store.boolValue("tooltip-once-onboard-assign-shortcut", false));
    EXPECT_TRUE(OnceHints(store).isSuppressed(hint));
}
