#include "app/HotkeyController.h"

#include "base/Logger.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace lumeris {

namespace {

const SettingKey& shortcutKey(HotkeyController::Hotkey hotkey) {
    return hotkey == HotkeyController::Hotkey::Capture ? SettingKeys::GLOBAL_HOTKEY
                                                       : SettingKeys::TAKE_AND_COPY_HOTKEY;
}

const SettingKey& enabledKey(HotkeyController::Hotkey hotkey) {
    return hotkey == HotkeyController::Hotkey::Capture ? SettingKeys::GLOBAL_HOTKEY_ENABLED
                                                       : SettingKeys::TAKE_AND_COPY_HOTKEY_ENABLED;
}

// The names the desktop lists the keys under; kept across versions, as it files the user's
// choices under them.
const char* actionId(HotkeyController::Hotkey hotkey) {
    return hotkey == HotkeyController::Hotkey::Capture ? "capture" : "capture-copy";
}

const char* actionDescription(HotkeyController::Hotkey hotkey) {
    return hotkey == HotkeyController::Hotkey::Capture
               ? "Take a screenshot into the Lumeris editor"
               : "Take a screenshot and copy it framed by Lumeris";
}

HotkeyController::Hotkey other(HotkeyController::Hotkey hotkey) {
    return hotkey == HotkeyController::Hotkey::Capture ? HotkeyController::Hotkey::CaptureAndCopy
                                                       : HotkeyController::Hotkey::Capture;
}

} // namespace

HotkeyController::HotkeyController(SettingsStore& settings, HotkeyRegistrar& registrar,
                                   std::function<void(bool copy)> capture)
    : settings_(settings), registrar_(registrar), capture_(std::move(capture)),
      binding_(registrar.supported() ? Binding::Grabbed : Binding::Unsupported) {
    registrar_.onDesktopAnswer([this](const HotkeyRegistrar::DesktopAnswer& answer) {
        using Outcome = HotkeyRegistrar::DesktopAnswer::Outcome;
        binding_ = answer.outcome == Outcome::Bound     ? Binding::ByDesktop
                   : answer.outcome == Outcome::Refused ? Binding::Refused
                                                        : Binding::Unsupported;
        desktopTriggers_ = answer.triggers;
        if (bindingChanged_) {
            bindingChanged_();
        }
    });
}

std::optional<std::string> HotkeyController::desktopTrigger(Hotkey hotkey) const {
    auto trigger = desktopTriggers_.find(actionId(hotkey));
    if (binding_ != Binding::ByDesktop || trigger == desktopTriggers_.end()) {
        return std::nullopt;
    }
    return trigger->second;
}

std::optional<Shortcut>& HotkeyController::registered(Hotkey hotkey) {
    return hotkey == Hotkey::Capture ? captureKey_ : captureAndCopyKey_;
}

Shortcut HotkeyController::shortcut(Hotkey hotkey) const {
    const Shortcut& fallback =
        hotkey == Hotkey::Capture ? Shortcut::defaultCapture() : Shortcut::defaultCaptureAndCopy();
    return settings_.shortcut(shortcutKey(hotkey), fallback);
}

std::vector<HotkeyController::Hotkey> HotkeyController::setupHotkey() {
    for (Hotkey hotkey : {Hotkey::Capture, Hotkey::CaptureAndCopy}) {
        if (auto& held = registered(hotkey)) {
            registrar_.unregisterHotkey(*held);
            held.reset();
        }
    }
    std::vector<Hotkey> conflicts;
    for (Hotkey hotkey : {Hotkey::Capture, Hotkey::CaptureAndCopy}) {
        if (!settings_.boolValue(enabledKey(hotkey), true)) {
            continue;
        }
        const Shortcut key = shortcut(hotkey);
        const bool copy = hotkey == Hotkey::CaptureAndCopy;
        auto result = registrar_.registerHotkey(
            key, {actionId(hotkey), actionDescription(hotkey), [capture = capture_, copy] {
                      LOG_INFO("Hotkey activated");
                      capture(copy);
                  }});
        if (result == HotkeyRegistrar::Result::Registered) {
            registered(hotkey) = key;
        } else if (result == HotkeyRegistrar::Result::Pending) {
            registered(hotkey) = key;
            // Until the desktop answers, what it last reported stands.
            if (binding_ != Binding::ByDesktop) {
                binding_ = Binding::Asking;
            }
        } else if (result == HotkeyRegistrar::Result::Unsupported) {
            binding_ = Binding::Unsupported;
        } else if (result == HotkeyRegistrar::Result::Conflict) {
            LOG_ERROR("{} is held by another program", key.displayText());
            conflicts.push_back(hotkey);
        }
    }
    return conflicts;
}

std::string HotkeyController::captureMenuTitle() const {
    if (binding_ == Binding::ByDesktop) {
        const auto trigger = desktopTrigger(Hotkey::Capture);
        return trigger ? "Take Screenshot (" + *trigger + ")" : "Take Screenshot";
    }
    return "Take Screenshot (" + shortcut(Hotkey::Capture).displayText() + ")";
}

HotkeyController::Recorded HotkeyController::record(Hotkey hotkey,
                                                    std::optional<Shortcut> recorded) {
    if (!recorded) {
        return Recorded::Reverted;
    }
    const auto& otherKey = registered(other(hotkey));
    if (otherKey && otherKey->keyCode == recorded->keyCode &&
        otherKey->modifierFlags == recorded->modifierFlags) {
        return Recorded::Conflict;
    }
    const auto previous = settings_.value(shortcutKey(hotkey));
    settings_.set(shortcutKey(hotkey), recorded->toDictionary());
    const auto conflicts = setupHotkey();
    if (std::find(conflicts.begin(), conflicts.end(), hotkey) != conflicts.end()) {
        if (previous) {
            settings_.set(shortcutKey(hotkey), *previous);
        } else {
            settings_.remove(shortcutKey(hotkey));
        }
        setupHotkey();
        return Recorded::Conflict;
    }
    LOG_INFO("hotkey changed");
    return Recorded::Stored;
}

AlertRequest HotkeyController::conflictAlert(const std::vector<Shortcut>& shortcuts) {
    std::string keys;
    for (std::size_t index = 0; index < shortcuts.size(); ++index) {
        keys += (index == 0 ? "" : index + 1 == shortcuts.size() ? " and " : ", ");
        keys += shortcuts[index].displayText();
    }
    return AlertRequest{"Conflict global hotkey",
                        keys + (shortcuts.size() == 1 ? " is" : " are") +
                            " already used by another program. Choose another shortcut in the "
                            "preferences.",
                        {"OK"}};
}

AlertRequest HotkeyController::refusedAlert() {
    return AlertRequest{"Shortcuts not set",
                        "The desktop did not set Lumeris's keyboard shortcuts. The status menu "
                        "still takes screenshots; to set the shortcuts, choose Ask Again in the "
                        "preferences.",
                        {"OK"}};
}

} // namespace lumeris
