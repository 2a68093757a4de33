#pragma once

#include "ui/SoundPlayer.h"

#include <optional>
#include <string>

namespace lumeris {

// Plays sounds of the desktop's sound theme through libcanberra. Main thread only.
//   Purr   -> "audio-volume-change"  (a drag starts: a short, soft click)
//   Glass  -> "complete"             (a drop succeeded)
//   Bottle -> "dialog-warning"       (a drop failed)
class CanberraSoundPlayer : public SoundPlayer {
public:
    void play(const std::string& name) override;

    // The theme's event id for one of the program's sound names.
    static std::optional<std::string> eventId(const std::string& name);
};

} // namespace lumeris
