#pragma once

#include "settings/Shortcut.h"

#include <functional>

namespace lumeris {

// System-wide key grabs of the desktop. Callbacks run on the main thread on key-down.
class HotkeyRegistrar {
public:
    enum class Result {
        Registered,
        // Another program holds the key.
        Conflict,
        // This desktop lets no program grab keys (Wayland without the shortcuts portal).
        Unsupported,
    };

    virtual ~HotkeyRegistrar() = default;
    virtual bool supported() const = 0;
    virtual Result registerHotkey(const Shortcut& shortcut, std::function<void()> pressed) = 0;
    virtual void unregisterHotkey(const Shortcut& shortcut) = 0;
};

} // namespace lumeris
