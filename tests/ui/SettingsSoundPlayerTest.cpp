#include "ui/SettingsSoundPlayer.h"

#include "TemporaryFolder.h"
#include "fakes/FakeSoundPlayer.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(SettingsSoundPlayer, PlaysOnlyWhileSoundsAreOn) {
    struct Case {
        std::optional<bool> soundsOn;
        bool plays;
    };
    for (const Case& c : {Case{std::nullopt, true}, Case{true, true}, Case{false, false}}) {
        TemporaryFolder folder;
        SettingsStore settings(folder / "settings.json", SettingsStore::Persistence::InMemory);
        if (c.soundsOn) {
            settings.set(SettingKeys::SOUNDS_ON, SettingValue(*c.soundsOn));
        }
        auto fake = std::make_shared<FakeSoundPlayer>();
        SettingsSoundPlayer player(fake, settings);
        player.play(SoundPlayer::GLASS);
        EXPECT_EQ(fake->played,
                  c.plays ? std::vector<std::string>{"Glass"} : std::vector<std::string>{})
            << "sounds-on " << (c.soundsOn ? (*c.soundsOn ? "true" : "false") : "unset");
    }
}
