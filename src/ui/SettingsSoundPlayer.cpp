#include "ui/SettingsSoundPlayer.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

SettingsSoundPlayer::SettingsSoundPlayer(std::shared_ptr<SoundPlayer> player,
                                         const SettingsStore& settings)
    : player_(std::move(player)), settings_(settings) {}

void SettingsSoundPlayer::play(const std::string& name) {
    // Sounds are on unless switched off, as registration has it.
    if (settings_.boolValue(SettingKeys::SOUNDS_ON, true)) {
        player_->play(name);
    }
}

} // namespace lumeris
