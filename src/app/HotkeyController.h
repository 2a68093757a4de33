#pragma once

#include "settings/Shortcut.h"
#include "ui/AlertRequest.h"
#include "ui/HotkeyRegistrar.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class SettingsStore;

// The two global hot keys: capture into an editor, and capture straight to the clipboard. Each
// is stored as a shortcut dictionary and switched by its "-enabled" flag, read whenever the keys
// are set up again.
class HotkeyController {
public:
    enum class Hotkey { Capture, CaptureAndCopy };

    enum class Recorded {
        // The recorder was cleared: it shows the stored shortcut again.
        Reverted,
        Stored,
        // Taken elsewhere: the stored shortcut stays, and the user is told.
        Conflict,
    };

    // Who binds the keys, as the preferences tell the user.
    enum class Binding {
        // Grabbed by this program; a key held elsewhere is a conflict.
        Grabbed,
        // The desktop binds them and may be asking the user.
        Asking,
        // Bound by the desktop: its settings change them, and desktopTrigger() tells them.
        ByDesktop,
        // The desktop did not bind them (the user declined, or it failed).
        Refused,
        // No way to register keys here: the command to bind is shown instead.
        Unsupported,
    };

    // `capture(copy)` starts a capture; copy true for the capture-and-copy key.
    HotkeyController(SettingsStore& settings, HotkeyRegistrar& registrar,
                     std::function<void(bool copy)> capture);

    // Unregisters the keys of the previous run, then registers each enabled one. Returns the
    // keys another program holds.
    std::vector<Hotkey> setupHotkey();

    // The stored shortcut, or the default for a missing or unusable entry.
    Shortcut shortcut(Hotkey hotkey) const;

    // "Take Screenshot (Ctrl+Alt+Super+4)".
    std::string captureMenuTitle() const;

    // A shortcut the recorder took (nothing when it was cleared). A key refused by the desktop,
    // or the other hot key's, is not stored.
    Recorded record(Hotkey hotkey, std::optional<Shortcut> shortcut);

    Binding binding() const { return binding_; }
    // The desktop's description of the key it bound ("Ctrl+Alt+Meta+4"); nothing unless the
    // desktop binds the keys and gave this one a key.
    std::optional<std::string> desktopTrigger(Hotkey hotkey) const;
    // Runs after the desktop answered about the keys (the binding or a trigger changed).
    void onBindingChanged(std::function<void()> changed) { bindingChanged_ = std::move(changed); }

    // "Conflict global hotkey" naming the shortcuts.
    static AlertRequest conflictAlert(const std::vector<Shortcut>& shortcuts);
    // The desktop did not bind the keys (Binding::Refused).
    static AlertRequest refusedAlert();

private:
    std::optional<Shortcut>& registered(Hotkey hotkey);

    SettingsStore& settings_;
    HotkeyRegistrar& registrar_;
    std::function<void(bool copy)> capture_;
    std::optional<Shortcut> captureKey_;
    std::optional<Shortcut> captureAndCopyKey_;
    Binding binding_;
    std::map<std::string, std::string> desktopTriggers_;
    std::function<void()> bindingChanged_;
};

} // namespace lumeris
