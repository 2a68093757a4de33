#pragma once

#include "ui/SoundPlayer.h"

#include <optional>
#include <string>

namespace lumeris {

// Plays sounds of the desktop's sound theme through libcanberra. Main thread only.
//   Purr   -> "screen-capture"  (a capture was taken)
//   Glass  -> "complete"        (a copy or save finished)
//   Bottle -> "message"         (something wants attention)
class CanberraSoundPlayer : public SoundPlayer {
public:
    void play(const std::string& name) override;

    // The theme's event id for one of the program's sound names.
    static std::optional<std::string> eventId(const std::string& name);
};

} // namespace lumeris
