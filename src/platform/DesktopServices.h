#pragma once

#include "ui/Alerts.h"
#include "ui/Clipboard.h"
#include "ui/DesktopNotifier.h"
#include "ui/FileChooser.h"
#include "ui/SoundPlayer.h"

#include <functional>
#include <memory>

namespace Gtk {
class Window;
}

namespace lumeris {

class SettingsStore;

// The desktop services the program talks to, chosen once at start-up. Code that needs them
// takes the interfaces; tests fill this with fakes.
struct DesktopServices {
    std::shared_ptr<Clipboard> clipboard;
    // Silent while the user has sounds switched off.
    std::shared_ptr<SoundPlayer> sounds;
    std::shared_ptr<DesktopNotifier> notifier;
    std::shared_ptr<Alerts> alerts;
    std::shared_ptr<FileChooser> fileChooser;

    // The GTK and freedesktop implementations. `settings` must outlive them; dialogs are modal
    // to the window `parent` returns when they open, if any.
    static DesktopServices create(const SettingsStore& settings,
                                  std::function<Gtk::Window*()> parent = {});
};

} // namespace lumeris
