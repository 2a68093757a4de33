#include "platform/GnomeCustomShortcuts.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"
#include "ui/Alerts.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gio/gio.h>
#include <gtk/gtk.h>
#include <string>
#include <vector>

namespace lumeris {

namespace {

constexpr const char* MEDIA_KEYS = "org.gnome.settings-daemon.plugins.media-keys";
constexpr const char* CUSTOM_BINDING =
    "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding";
constexpr const char* FOLDER = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/";

bool schemaInstalled(const char* id) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) {
        return false;
    }
    GHandle<GSettingsSchema, g_settings_schema_unref> schema(
        g_settings_schema_source_lookup(source, id, TRUE));
    return schema != nullptr;
}

std::string program() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    GCharPtr quoted(g_shell_quote(error ? "lumeris" : executable.c_str()));
    return quoted.get();
}

// Writes one entry at FOLDER + `name` + "/" and returns its path.
std::string writeEntry(const std::string& name, const std::string& title,
                       const std::string& command, const Shortcut& shortcut) {
    std::string path = std::string(FOLDER) + name + "/";
    GObjectPtr<GSettings> entry(g_settings_new_with_path(CUSTOM_BINDING, path.c_str()));
    GCharPtr binding(gtk_accelerator_name(shortcut.keyCode,
                                          static_cast<GdkModifierType>(shortcut.modifierFlags)));
    g_settings_set_string(entry.get(), "name", title.c_str());
    g_settings_set_string(entry.get(), "command", command.c_str());
    g_settings_set_string(entry.get(), "binding", binding.get());
    return path;
}

void add(const Shortcut& capture, const Shortcut& captureAndCopy) {
    const std::string lumeris = program();
    std::vector<std::string> paths{
        writeEntry("lumeris-capture", "Lumeris: take screenshot", lumeris + " --capture", capture),
        writeEntry("lumeris-capture-copy", "Lumeris: take screenshot and copy",
                   lumeris + " --capture-copy", captureAndCopy),
    };
    GObjectPtr<GSettings> keys(g_settings_new(MEDIA_KEYS));
    gchar** listed = g_settings_get_strv(keys.get(), "custom-keybindings");
    std::vector<std::string> all(listed, listed + g_strv_length(listed));
    g_strfreev(listed);
    for (const auto& path : paths) {
        if (std::find(all.begin(), all.end(), path) == all.end()) {
            all.push_back(path);
        }
    }
    std::vector<const char*> values;
    values.reserve(all.size() + 1);
    for (const auto& path : all) {
        values.push_back(path.c_str());
    }
    values.push_back(nullptr);
    g_settings_set_strv(keys.get(), "custom-keybindings", values.data());
    g_settings_sync();
    LOG_INFO("Added the capture commands to GNOME's keyboard shortcuts");
}

} // namespace

bool GnomeCustomShortcuts::available() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop != nullptr && std::string(desktop).find("GNOME") != std::string::npos &&
           schemaInstalled(MEDIA_KEYS) && schemaInstalled(CUSTOM_BINDING);
}

void GnomeCustomShortcuts::offer(const std::shared_ptr<Alerts>& alerts, const Shortcut& capture,
                                 const Shortcut& captureAndCopy) {
    const AlertRequest request{
        "Add Keyboard Shortcuts",
        "Lumeris will add two custom shortcuts to GNOME's keyboard settings: " +
            capture.displayText() + " takes a screenshot, " + captureAndCopy.displayText() +
            " takes one and copies it. You can change or remove them in Settings, Keyboard.",
        {"Add", "Cancel"}};
    alerts->show(request, [capture, captureAndCopy](int answer) {
        if (answer == 0) {
            add(capture, captureAndCopy);
        }
    });
}

} // namespace lumeris
