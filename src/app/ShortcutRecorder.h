#pragma once

#include "settings/Shortcut.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumeris {

// What one key press means to a shortcut recorder that is listening: a shortcut needs a key with
// Ctrl, Alt or Super (Shift alone would take ordinary typing); Escape gives up, Backspace and
// Delete clear.
class ShortcutRecorder {
public:
    enum class Meaning { KeepListening, Cancel, Clear, Recorded };

    struct Press {
        Meaning meaning = Meaning::KeepListening;
        std::optional<Shortcut> shortcut;
    };

    // `keyValue` is the GDK key value, `state` the GDK modifier mask at the press, `unicode` the
    // character the key gives without modifiers (0 for none), `keyName` GDK's name of the key
    // ("F1"), shown for keys without a character.
    static Press interpret(std::uint32_t keyValue, std::uint32_t state, std::uint32_t unicode,
                           const std::string& keyName = {});
};

} // namespace lumeris
