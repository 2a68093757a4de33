#include "platform/KeybinderRegistrar.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"

#include <gtk/gtk.h>
#include <keybinder.h>

namespace lumeris {

namespace {

std::string accelerator(const Shortcut& shortcut) {
    GCharPtr name(gtk_accelerator_name(shortcut.keyCode,
                                       static_cast<GdkModifierType>(shortcut.modifierFlags)));
    return name ? name.get() : "";
}

} // namespace

KeybinderRegistrar::KeybinderRegistrar() {
    static const bool initialised = [] {
        keybinder_init();
        return true;
    }();
    (void)initialised;
}

bool KeybinderRegistrar::supported() const {
    return keybinder_supported() != FALSE;
}

HotkeyRegistrar::Result KeybinderRegistrar::registerHotkey(const Shortcut& shortcut,
                                                           Action action) {
    if (!supported()) {
        return Result::Unsupported;
    }
    const std::string keys = accelerator(shortcut);
    // Main thread: keybinder filters the root window's events in the GDK loop.
    const bool bound = keybinder_bind_full(
        keys.c_str(),
        [](const char*, void* data) { (*static_cast<std::function<void()>*>(data))(); },
        new std::function<void()>(std::move(action.pressed)),
        [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
    if (!bound) {
        // The library owns the handler from the call on, whether or not the grab succeeded.
        return Result::Conflict;
    }
    LOG_DEBUG("Grabbed {}", keys);
    return Result::Registered;
}

void KeybinderRegistrar::unregisterHotkey(const Shortcut& shortcut) {
    if (supported()) {
        keybinder_unbind_all(accelerator(shortcut).c_str());
    }
}

} // namespace lumeris
