#include "ui/SettingsSoundPlayer.h"

#include "TemporaryFolder.h"
#include "fakes/FakeSoundPlayer.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(SettingsSoundPlayer, PlaysUnlessSoundsAreSwitchedOff) {
    TemporaryFolder folder;
    SettingsStore settings(folder / "settings.json", SettingsStore::Persistence::InMemory);
    auto fake = std::make_shared<FakeSoundPlayer>();
    SettingsSoundPlayer player(fake, settings);
    player.play(SoundPlayer::GLASS); // no setting yet
    settings.set(SettingKeys::SOUNDS_ON, SettingValue(false));
    player.play(SoundPlayer::GLASS);
    EXPECT_EQ(fake->played, std::vector<std::string>{"Glass"});
}
