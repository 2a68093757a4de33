#include "ui/SettingsSoundPlayer.h"

#include "TemporaryFolder.h"
#include "fakes/FakeSoundPlayer.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(SettingsSoundPlayer, PlaysOnlyWhileSoundsAreOn) {
    for (const std::optional<bool> soundsOn : {std::optional<bool>{}, {true}, {false}}) {
        TemporaryFolder folder;
        SettingsStore settings(folder / "settings.json", SettingsStore::Persistence::InMemory);
        if (soundsOn) {
            settings.set(SettingKeys::SOUNDS_ON, SettingValue(*soundsOn));
        }
        auto fake = std::make_shared<FakeSoundPlayer>();
        SettingsSoundPlayer(fake, settings).play(SoundPlayer::GLASS);
        EXPECT_EQ(fake->played, std::vector<std::string>(soundsOn.value_or(true), "Glass"))
            << soundsOn.has_value() << soundsOn.value_or(true);
    }
}
