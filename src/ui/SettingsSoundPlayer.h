#pragma once

#include "ui/SoundPlayer.h"

#include <memory>

namespace lumeris {

class SettingsStore;

// Plays through another player only while the user has sounds switched on.
class SettingsSoundPlayer : public SoundPlayer {
public:
    // `settings` must outlive this player.
    SettingsSoundPlayer(std::shared_ptr<SoundPlayer> player, const SettingsStore& settings);

    void play(const std::string& name) override;

private:
    std::shared_ptr<SoundPlayer> player_;
    const SettingsStore& settings_;
};

} // namespace lumeris
