#pragma once

#include "ui/HotkeyRegistrar.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace lumeris {

// Grabs keys in memory; `taken` holds keys another program owns. `log` records each call as
// "+Ctrl+Alt+Super+4" or "-Ctrl+Alt+Super+4".
class FakeHotkeyRegistrar : public HotkeyRegistrar {
public:
    bool supported() const override { return isSupported; }
    Result registerHotkey(const Shortcut& shortcut, Action action) override {
        log.push_back("+" + shortcut.displayText());
        if (!isSupported) {
            return Result::Unsupported;
        }
        if (taken.count(shortcut.displayText())) {
            return Result::Conflict;
        }
        grabbed[shortcut.displayText()] = std::move(action.pressed);
        return Result::Registered;
    }
    void unregisterHotkey(const Shortcut& shortcut) override {
        log.push_back("-" + shortcut.displayText());
        grabbed.erase(shortcut.displayText());
    }
    void press(const std::string& display) { grabbed.at(display)(); }

    bool isSupported = true;
    std::set<std::string> taken;
    std::map<std::string, std::function<void()>> grabbed;
    std::vector<std::string> log;
};

} // namespace lumeris
