#pragma once

#include "settings/Shortcut.h"

#include <functional>
#include <map>
#include <string>

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
        // The desktop binds the key itself and may ask the user first: the outcome arrives as a
        // DesktopAnswer.
        Pending,
    };

    // What a key does, for desktops that list it in their own settings.
    struct Action {
        // Stable across runs ("capture"): the desktop keeps the user's choice under it.
        std::string id;
        std::string description;
        std::function<void()> pressed;
    };

    // How a desktop that binds keys itself answered, again whenever the user changes the keys
    // in its settings.
    struct DesktopAnswer {
        enum class Outcome {
            Bound,
            // The user declined, or the desktop failed to bind: no key works.
            Refused,
            // The desktop turned out to offer no shortcuts service.
            Unsupported,
        };
        Outcome outcome = Outcome::Bound;
        // Bound: the desktop's description of each action's trigger ("Ctrl+Alt+Meta+4"); an
        // action the user left without a key is missing.
        std::map<std::string, std::string> triggers;
    };

    virtual ~HotkeyRegistrar() = default;
    virtual bool supported() const = 0;
    virtual Result registerHotkey(const Shortcut& shortcut, Action action) = 0;
    virtual void unregisterHotkey(const Shortcut& shortcut) = 0;
    // Where registrations are Pending, `answered` runs on the main thread with each answer.
    virtual void onDesktopAnswer(const std::function<void(const DesktopAnswer&)>& answered) {
        (void)answered;
    }
};

} // namespace lumeris
