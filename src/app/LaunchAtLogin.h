#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lumeris {

class SettingsStore;

// The XDG autostart entry that starts Lumeris at login without opening a window:
// $XDG_CONFIG_HOME/autostart/app.lumeris.Lumeris.desktop. The entry file is the truth the
// desktop acts on; "settings.launch-at-login" records what the user asked for.
class LaunchAtLogin {
public:
    // The option the entry starts Lumeris with, so that logging in opens no window.
    static constexpr std::string_view HIDDEN_OPTION = "--hidden";

    static std::filesystem::path defaultEntryPath();

    // `executable`: the program the entry starts (the running one, so a copy outside the PATH
    // starts itself).
    LaunchAtLogin(std::filesystem::path entryPath, std::filesystem::path executable);

    // Whether the entry exists and the desktop would start it (not Hidden, not switched off in
    // GNOME's own key).
    bool isEnabled() const;

    // Writes the entry (atomically) or removes it. False with `error` set when that failed; the
    // entry is then as it was.
    bool setEnabled(bool enabled, std::string& error) const;

    // Makes the entry match "settings.launch-at-login" (off when unset).
    bool follow(const SettingsStore& settings, std::string& error) const;

    // The entry's text.
    std::string entryText() const;

    // One argument of an Exec line, quoted where the Desktop Entry rules reserve a character.
    static std::string execArgument(std::string_view argument);

private:
    std::filesystem::path entryPath_;
    std::filesystem::path executable_;
};

} // namespace lumeris
