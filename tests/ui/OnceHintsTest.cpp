#include "ui/OnceHints.h"

#include "TemporaryFolder.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

using namespace lumeris;

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
