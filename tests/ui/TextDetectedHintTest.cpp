#include "ui/TextDetectedHint.h"

#include "TemporaryFolder.h"
#include "fakes/FakeDesktopNotifier.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(TextDetectedHintTest, NotifiesOnceUntilSeen) {
    TemporaryFolder folder;
    SettingsStore settings{folder / "settings.json", SettingsStore::Persistence::InMemory};
    settings.registerDefaultSettings();
    FakeDesktopNotifier notifier;
    TextDetectedHint::show(settings, notifier);
    TextDetectedHint::show(settings, notifier);
    ASSERT_EQ(notifier.sent.size(), 1U);
    EXPECT_EQ(notifier.sent[0].id, "text-detected");
    EXPECT_NE(notifier.sent[0].body.find("Ctrl+C"), std::string::npos);
    EXPECT_TRUE(settings.boolValue(SettingKeys::TEXT_DETECTED_SEEN, false));
}
