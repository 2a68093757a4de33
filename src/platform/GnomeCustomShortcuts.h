#pragma once

#include "settings/Shortcut.h"

#include <memory>

namespace lumeris {

class Alerts;

// GNOME lets no application grab keys on Wayland; its keyboard settings run commands for custom
// shortcuts instead. This adds the two capture commands there, with the user's consent.
class GnomeCustomShortcuts {
public:
    // Whether the session is GNOME and its keyboard settings are installed.
    static bool available();

    // Asks, then adds "lumeris --capture" and "lumeris --capture-copy" bound to the two keys
    // (replacing Lumeris's own earlier entries, never the user's others).
    static void offer(const std::shared_ptr<Alerts>& alerts, const Shortcut& capture,
                      const Shortcut& captureAndCopy);
};

} // namespace lumeris
