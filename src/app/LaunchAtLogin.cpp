#include "app/LaunchAtLogin.h"

#include "base/AtomicFile.h"
#include "base/GLibHandles.h"
#include "base/Logger.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <glib.h>

namespace lumeris {

namespace {

using KeyFilePtr = GHandle<GKeyFile, g_key_file_free>;
constexpr const char* GROUP = G_KEY_FILE_DESKTOP_GROUP;

// Characters that make an Exec argument need quotes.
constexpr std::string_view RESERVED = " \t\n\"'\\><~|&;$*?#()`";
// Characters escaped with a backslash inside the quotes.
constexpr std::string_view ESCAPED_IN_QUOTES = "\"`$\\";

} // namespace

std::filesystem::path LaunchAtLogin::defaultEntryPath() {
    return std::filesystem::path(g_get_user_config_dir()) / "autostart" /
           "app.lumeris.Lumeris.desktop";
}

LaunchAtLogin::LaunchAtLogin(std::filesystem::path entryPath, std::filesystem::path executable)
    : entryPath_(std::move(entryPath)), executable_(std::move(executable)) {}

std::string LaunchAtLogin::execArgument(std::string_view argument) {
    const bool quoted =
        argument.empty() || argument.find_first_of(RESERVED) != std::string_view::npos;
    std::string result = quoted ? "\"" : "";
    for (char c : argument) {
        if (c == '%') {
            result += "%%";
            continue;
        }
        if (quoted && ESCAPED_IN_QUOTES.find(c) != std::string_view::npos) {
            result += '\\';
        }
        result += c;
    }
    if (quoted) {
        result += '"';
    }
    return result;
}

std::string LaunchAtLogin::entryText() const {
    KeyFilePtr file(g_key_file_new());
    const std::string exec = execArgument(executable_.string()) + " " + std::string(HIDDEN_OPTION);
    g_key_file_set_string(file.get(), GROUP, "Type", "Application");
    g_key_file_set_string(file.get(), GROUP, "Name", "Lumeris");
    g_key_file_set_string(file.get(), GROUP, "Comment", "Screenshot beautifier in the tray");
    // The value layer escapes backslashes once more, as desktop entries require of Exec.
    g_key_file_set_string(file.get(), GROUP, "Exec", exec.c_str());
    g_key_file_set_string(file.get(), GROUP, "Icon", "app.lumeris.Lumeris");
    g_key_file_set_boolean(file.get(), GROUP, "Terminal", FALSE);
    g_key_file_set_boolean(file.get(), GROUP, "NoDisplay", TRUE);
    g_key_file_set_boolean(file.get(), GROUP, "X-GNOME-Autostart-enabled", TRUE);
    gsize length = 0;
    GCharPtr data(g_key_file_to_data(file.get(), &length, nullptr));
    return std::string(data.get(), length);
}

bool LaunchAtLogin::isEnabled() const {
    KeyFilePtr file(g_key_file_new());
    if (!g_key_file_load_from_file(file.get(), entryPath_.c_str(), G_KEY_FILE_NONE, nullptr)) {
        return false;
    }
    // An absent key reads as FALSE, which is what Hidden means unset; the GNOME key defaults on.
    const bool hidden = g_key_file_get_boolean(file.get(), GROUP, "Hidden", nullptr);
    const bool gnomeOff =
        g_key_file_has_key(file.get(), GROUP, "X-GNOME-Autostart-enabled", nullptr) &&
        !g_key_file_get_boolean(file.get(), GROUP, "X-GNOME-Autostart-enabled", nullptr);
    return !hidden && !gnomeOff;
}

bool LaunchAtLogin::setEnabled(bool enabled, std::string& error) const {
    std::error_code fileError;
    if (!enabled) {
        std::filesystem::remove(entryPath_, fileError);
        if (fileError) {
            error = "cannot remove " + entryPath_.string() + ": " + fileError.message();
            LOG_ERROR("{}", error);
            return false;
        }
        LOG_INFO("Launch at login off");
        return true;
    }
    std::filesystem::create_directories(entryPath_.parent_path(), fileError);
    if (fileError) {
        error = "cannot create " + entryPath_.parent_path().string() + ": " + fileError.message();
        LOG_ERROR("{}", error);
        return false;
    }
    if (!AtomicFile::writeFileAtomically(entryPath_, entryText(), error)) {
        LOG_ERROR("cannot write {}: {}", entryPath_.string(), error);
        return false;
    }
    LOG_INFO("Launch at login on: {}", entryPath_.string());
    return true;
}

bool LaunchAtLogin::follow(const SettingsStore& settings, std::string& error) const {
    const bool wanted = settings.boolValue(SettingKeys::LAUNCH_AT_LOGIN, false);
    if (wanted == isEnabled()) {
        return true;
    }
    return setEnabled(wanted, error);
}

} // namespace lumeris
