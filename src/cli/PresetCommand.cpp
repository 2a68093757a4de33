#include "cli/PresetCommand.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "cli/RenderOptions.h"
#include "presets/EditorPresetManager.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cstdlib>
#include <gio/gio.h>
#include <optional>

namespace lumeris {

namespace {

// Whether a Lumeris runs in this session: it holds its settings in memory and would write them
// back over a change made here. Without a session bus there is none to ask (and none is started).
bool lumerisRuns(const std::string& applicationID) {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const bool bus = (address != nullptr && *address != '\0') ||
                     (runtime != nullptr && *runtime != '\0' &&
                      std::filesystem::exists(std::filesystem::path(runtime) / "bus"));
    if (!bus) {
        return false;
    }
    GErrorPtr error;
    GObjectPtr<GDBusConnection> connection(
        g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, GErrorOut(error)));
    if (!connection) {
        return false;
    }
    GVariant* reply = g_dbus_connection_call_sync(
        connection.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", applicationID.c_str()), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, GErrorOut(error));
    if (reply == nullptr) {
        return false;
    }
    gboolean owned = FALSE;
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
    return owned != FALSE;
}

// Hands the presets stored in `settings` to the running Lumeris, which keeps them in its own
// settings (and so in the file); its action answers once they are stored.
bool handToRunningLumeris(const SettingsStore& settings, std::ostream& err) {
    const auto data = settings.data(std::string(SettingKeys::PRESETS_STORAGE_KEY.name));
    const std::string json = data ? std::string(data->bytes.begin(), data->bytes.end()) : "[]";
    GErrorPtr error;
    GObjectPtr<GDBusConnection> connection(
        g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, GErrorOut(error)));
    GVariant* reply = nullptr;
    if (connection) {
        GVariantBuilder parameter;
        g_variant_builder_init(&parameter, G_VARIANT_TYPE("av"));
        g_variant_builder_add(&parameter, "v", g_variant_new_string(json.c_str()));
        reply = g_dbus_connection_call_sync(
            connection.get(), PresetCommand::APPLICATION_ID, "/app/lumeris/Lumeris",
            "org.gtk.Actions", "Activate",
            g_variant_new("(sava{sv})", PresetCommand::STORE_PRESETS_ACTION, &parameter, nullptr),
            nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, GErrorOut(error));
    }
    if (reply == nullptr) {
        err << "lumeris preset: the running Lumeris did not take the presets: "
            << (error ? error->message : "no session bus") << "\n";
        return false;
    }
    g_variant_unref(reply);
    return true;
}

bool isReserved(const std::string& name) {
    return name == EditorPreset::DEFAULT_NAME || name == EditorPreset::NEW_PRESET;
}

// Presets as the file holds them now, or nothing when they are not there to read.
std::optional<std::vector<EditorPreset>> storedPresets(const std::filesystem::path& file) {
    SettingsStore settings(file, SettingsStore::Persistence::InMemory);
    return EditorPresetManager(settings).readPresets();
}

// With Lumeris running, the change is made in memory and handed to it: it would otherwise write
// its own copy of the settings back over the file.
int save(const std::string& name, const RenderOptions::Overrides& overrides,
         const std::filesystem::path& file, bool running, std::ostream& err) {
    // The look is read with the overrides in a copy; the settings themselves stay as they are.
    SettingsStore look(file, SettingsStore::Persistence::InMemory);
    look.registerDefaultSettings();
    if (auto error = RenderOptions::applyOverrides(overrides, look)) {
        err << "lumeris preset: " << *error << "\n";
        return PresetCommand::EXIT_USAGE;
    }
    EditorPreset preset = EditorPreset::fromSettings(look);
    preset.name = name;

    SettingsStore settings(file, running ? SettingsStore::Persistence::InMemory
                                         : SettingsStore::Persistence::Writable);
    EditorPresetManager manager(settings);
    const auto presets = manager.readPresets();
    if (!presets) {
        err << "lumeris preset: the stored presets cannot be read; they are kept in "
            << manager.setAsidePath().string() << " and a new list starts\n";
    }
    const bool exists = presets && std::any_of(presets->begin(), presets->end(),
                                               [&](const auto& p) { return p.name == name; });
    if (exists) {
        manager.updatePreset(preset, false, false);
    } else {
        manager.addPreset(preset);
    }
    if (running && !handToRunningLumeris(settings, err)) {
        return PresetCommand::EXIT_FAILED;
    }
    // The store only logs a failed write: read it back to know.
    const auto written = storedPresets(file);
    if (!written || std::none_of(written->begin(), written->end(),
                                 [&](const auto& p) { return p == preset && p.name == name; })) {
        err << "lumeris preset: cannot write " << file.string() << "\n";
        return PresetCommand::EXIT_FAILED;
    }
    return PresetCommand::EXIT_DONE;
}

int remove(const std::string& name, const std::filesystem::path& file, bool running,
           std::ostream& err) {
    SettingsStore settings(file, running ? SettingsStore::Persistence::InMemory
                                         : SettingsStore::Persistence::Writable);
    EditorPresetManager manager(settings);
    const auto presets = manager.readPresets().value_or(std::vector<EditorPreset>{});
    if (std::none_of(presets.begin(), presets.end(),
                     [&](const auto& p) { return p.name == name; })) {
        std::string names;
        for (const auto& preset : presets) {
            names += (names.empty() ? "'" : ", '") + preset.name + "'";
        }
        err << "lumeris preset: no stored preset named '" << name << "'; "
            << (names.empty() ? "there are none" : "the stored presets are " + names) << "\n";
        return PresetCommand::EXIT_USAGE;
    }
    manager.deletePreset(name);
    if (running && !handToRunningLumeris(settings, err)) {
        return PresetCommand::EXIT_FAILED;
    }
    const auto written = storedPresets(file);
    if (!written || std::any_of(written->begin(), written->end(),
                                [&](const auto& p) { return p.name == name; })) {
        err << "lumeris preset: cannot write " << file.string() << "\n";
        return PresetCommand::EXIT_FAILED;
    }
    return PresetCommand::EXIT_DONE;
}

int list(const std::filesystem::path& file, std::ostream& out, std::ostream& err) {
    SettingsStore settings(file, SettingsStore::Persistence::InMemory);
    EditorPresetManager manager(settings);
    const auto presets = manager.readPresets();
    if (!presets) {
        err << "lumeris preset: the stored presets cannot be read; they are kept in "
            << manager.setAsidePath().string() << "\n";
    }
    for (const auto& preset : presets.value_or(std::vector<EditorPreset>{})) {
        out << preset.name << "\n";
    }
    out << EditorPreset::DEFAULT_NAME << "\n";
    return presets ? PresetCommand::EXIT_DONE : PresetCommand::EXIT_FAILED;
}

int usageError(const std::string& message, std::ostream& err) {
    err << "lumeris preset: " << message << "\nTry 'lumeris preset --help'.\n";
    return PresetCommand::EXIT_USAGE;
}

} // namespace

int PresetCommand::run(const std::vector<std::string>& arguments,
                       const std::filesystem::path& settingsFile, std::ostream& out,
                       std::ostream& err) {
    if (std::any_of(arguments.begin(), arguments.end(),
                    [](const auto& a) { return a == "-h" || a == "--help"; })) {
        out << USAGE;
        return EXIT_DONE;
    }
    if (arguments.empty()) {
        return usageError("list, save or delete?", err);
    }
    const std::string& command = arguments[0];
    if (command == "list") {
        if (arguments.size() > 1) {
            return usageError("list takes no arguments", err);
        }
        return list(settingsFile, out, err);
    }
    if (command != "save" && command != "delete") {
        return usageError("unknown command " + command, err);
    }
    if (arguments.size() < 2 || arguments[1].empty() || arguments[1][0] == '-') {
        return usageError(command + " needs a preset name", err);
    }
    const std::string& name = arguments[1];
    if (isReserved(name)) {
        return usageError("'" + name + "' is the editor's own menu entry", err);
    }
    const bool running = lumerisRuns(APPLICATION_ID);
    if (command == "delete") {
        if (arguments.size() > 2) {
            return usageError("delete takes one name", err);
        }
        return remove(name, settingsFile, running, err);
    }
    RenderOptions::Overrides overrides;
    for (std::size_t index = 2; index < arguments.size(); ++index) {
        if (arguments[index] != "--set") {
            return usageError("unknown argument " + arguments[index], err);
        }
        auto override = index + 1 < arguments.size()
                            ? RenderOptions::parseOverride(arguments[++index])
                            : std::nullopt;
        if (!override) {
            return usageError("--set takes KEY=VALUE", err);
        }
        overrides.push_back(std::move(*override));
    }
    return save(name, overrides, settingsFile, running, err);
}

} // namespace lumeris
