#pragma once

#include "ui/HotkeyRegistrar.h"

namespace lumeris {

// Key grabs on the X server's root window through keybinder. Elsewhere (Wayland) it reports
// itself unsupported and registers nothing.
class KeybinderRegistrar : public HotkeyRegistrar {
public:
    KeybinderRegistrar();

    bool supported() const override;
    Result registerHotkey(const Shortcut& shortcut, Action action) override;
    void unregisterHotkey(const Shortcut& shortcut) override;
};

} // namespace lumeris
