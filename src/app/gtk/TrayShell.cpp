#include "app/gtk/TrayShell.h"

#include "app/LaunchWindowRule.h"
#include "app/ShellAlerts.h"
#include "base/Logger.h"
#include "capture/ArchiveFolders.h"
#include "editor/gtk/EditorWindow.h"
#include "platform/GnomeCustomShortcuts.h"
#include "platform/KeybinderRegistrar.h"
#include "platform/PortalShortcutsRegistrar.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/BezelIcon.h"
#include "ui/gtk/NotificationBezel.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gdk/gdk.h>
#include <giomm/simpleaction.h>
#include <glibmm/main.h>
#include <unistd.h>

namespace lumeris {

namespace {

// Without a probe handed in there is no capture tool to wait for.
class NoProbe : public CaptureBackendProbe {
public:
    void waitForBackend(std::function<void()> found) override { found(); }
};

NoProbe noProbe;

LaunchAtLogin launchAtLogin() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return LaunchAtLogin(LaunchAtLogin::defaultEntryPath(), error ? "lumeris" : executable);
}

// X11 lets us grab keys; on Wayland the desktop binds them through the portal where it offers
// that, which the portal registrar finds out (and otherwise reports the keys unsupported).
std::shared_ptr<HotkeyRegistrar> hotkeyRegistrar(Gtk::Application& application) {
    auto grabs = std::make_shared<KeybinderRegistrar>();
    GDBusConnection* bus = g_application_get_dbus_connection(G_APPLICATION(application.gobj()));
    if (grabs->supported() || bus == nullptr) {
        return grabs;
    }
    return PortalShortcutsRegistrar::create(GObjectPtr<GDBusConnection>::retain(bus));
}

} // namespace

TrayShell::TrayShell(Dependencies dependencies)
    : dependencies_(std::move(dependencies)),
      registrar_(hotkeyRegistrar(dependencies_.application)),
      hotkeys_(dependencies_.settings, *registrar_,
               [this](bool copy) { capture(copy ? "capture-copy" : "capture"); }) {
    hotkeys_.onBindingChanged([this] { bindingChanged(); });
    addActions();
}

TrayShell::~TrayShell() = default;

void TrayShell::addActions() {
    auto& application = dependencies_.application;
    application.add_action("preferences", [this] { showPreferences(); });
    application.add_action("hide", [this] { hideWindows(); });
    application.add_action("reveal-archives", [this] {
        ArchiveFolders::openDirURLCreateIfNeeded(
            dependencies_.settings.string(SettingKeys::SCREENSHOT_PATH, ""), fileManager_);
    });
    application.add_action_with_parameter(
        "copy-detected-text", Glib::VARIANT_TYPE_STRING, [this](const Glib::VariantBase& value) {
            const auto text = Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(value);
            copyDetectedText(std::atoi(text.get().c_str()));
        });
    application.add_action_with_parameter(
        "editor", Glib::VARIANT_TYPE_STRING, [this](const Glib::VariantBase& value) {
            forwardToEditor(
                Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(value).get());
        });
    application.add_action("acknowledgements", [this] {
        dependencies_.services.alerts->show(ShellAlerts::acknowledgements(), [](int) {});
    });
    application.add_action("factory-reset", [this] { factoryReset(); });
    application.add_action("quit", [this] { dependencies_.application.quit(); });
}

void TrayShell::start() {
    CaptureBackendProbe& probe = dependencies_.probe ? *dependencies_.probe : noProbe;
    sequencer_ = StartupSequencer::create(probe, [this] { continueLaunch(); });
    sequencer_->start();
}

void TrayShell::continueLaunch() {
    reportConflicts(hotkeys_.setupHotkey());
    statusItem_ = std::make_unique<StatusItem>(
        menuItems(),
        [this](const std::string& action, const std::string& target) {
            const auto name = action.substr(action.find('.') + 1);
            if (!dependencies_.application.has_action(name)) {
                LOG_WARNING("The menu's action {} is not available", action);
            } else if (target.empty()) {
                dependencies_.application.activate_action(name);
            } else {
                dependencies_.application.activate_action(
                    name, Glib::Variant<Glib::ustring>::create(target));
            }
        },
        [this](bool shown) {
            trayShown_ = shown;
            if (preferences_) {
                preferences_->setTrayShown(shown);
            }
        });
    statusItem_->setVisible(dependencies_.settings.boolValue(SettingKeys::SHOW_STATUS_ICON, true));
    statusIconSubscription_ =
        dependencies_.settings.observe(SettingKeys::SHOW_STATUS_ICON, [this](const std::string&) {
            statusItem_->setVisible(
                dependencies_.settings.boolValue(SettingKeys::SHOW_STATUS_ICON, true));
        });
}

void TrayShell::activate(bool hidden) {
    if (!activated_) {
        activated_ = true;
        // Linux has no dock icon: without a window the application is in the tray either way.
        if (!hidden && LaunchWindowRule::atLaunch(dependencies_.settings) ==
                           LaunchWindowRule::AtLaunch::ShowPreferences) {
            sequencer_->afterLaunch([this] { showPreferences(); });
        }
        return;
    }
    std::vector<Gtk::Window*> visible;
    for (auto* window : dependencies_.application.get_windows()) {
        if (window->is_visible()) {
            visible.push_back(window);
        }
    }
    if (LaunchWindowRule::onReopen(!visible.empty()) ==
        LaunchWindowRule::OnReopen::BringWindowForward) {
        visible.front()->present();
    } else {
        showPreferences();
    }
}

void TrayShell::showPreferences() {
    if (!preferences_) {
        std::function<void()> addDesktopShortcuts;
        if (GnomeCustomShortcuts::available()) {
            addDesktopShortcuts = [this] {
                GnomeCustomShortcuts::offer(
                    dependencies_.services.alerts,
                    hotkeys_.shortcut(HotkeyController::Hotkey::Capture),
                    hotkeys_.shortcut(HotkeyController::Hotkey::CaptureAndCopy));
            };
        }
        preferences_ = PreferencesWindow::create({
            .settings = dependencies_.settings,
            .hotkeys = hotkeys_,
            .alerts = dependencies_.services.alerts,
            .fileManager = fileManager_,
            .launchAtLogin = launchAtLogin(),
            .shortcutsChanged = [this] { updateMenu(); },
            .factoryReset = [this] { factoryReset(); },
            .addDesktopShortcuts = std::move(addDesktopShortcuts),
        });
        if (!preferences_) {
            return;
        }
        dependencies_.application.add_window(preferences_->window());
    }
    preferences_->setTrayShown(trayShown_);
    preferences_->present();
}

std::vector<StatusMenu::Item> TrayShell::menuItems() const {
    return StatusMenu::items(hotkeys_.captureMenuTitle(), history_);
}

void TrayShell::updateMenu() {
    if (statusItem_) {
        statusItem_->update(menuItems());
    }
}

void TrayShell::reportConflicts(const std::vector<HotkeyController::Hotkey>& conflicts) {
    if (conflicts.empty()) {
        return;
    }
    std::vector<Shortcut> keys;
    keys.reserve(conflicts.size());
    for (auto hotkey : conflicts) {
        keys.push_back(hotkeys_.shortcut(hotkey));
    }
    dependencies_.services.alerts->show(HotkeyController::conflictAlert(keys), [](int) {});
}

void TrayShell::bindingChanged() {
    updateMenu();
    if (preferences_) {
        preferences_->showShortcuts();
    }
    if (hotkeys_.binding() == HotkeyController::Binding::Refused) {
        dependencies_.services.alerts->show(HotkeyController::refusedAlert(), [](int) {});
    }
}

void TrayShell::capture(const char* action) {
    if (!dependencies_.application.has_action(action)) {
        LOG_WARNING("No capture action {} to run", action);
        return;
    }
    dependencies_.application.activate_action(action);
}

void TrayShell::addDetectedText(const std::string& text) {
    history_.add(text);
    updateMenu();
}

void TrayShell::copyDetectedText(int position) {
    const auto entries = history_.entries();
    if (position < 1 || position > static_cast<int>(entries.size()) ||
        !entries[position - 1].enabled) {
        return;
    }
    const std::string& text = entries[position - 1].text;
    dependencies_.services.clipboard->setText(text);
    NotificationBezel::show(BezelParameters{.messageText = DetectedTextHistory::copiedMessage(text),
                                            .icon = BezelIcon::named(BezelIcon::CHECK),
                                            .fadeInAnimationDuration = 0.0,
                                            .fadeOutAnimationDuration = 0.25});
    dependencies_.settings.set(SettingKeys::TEXT_DETECTED_SEEN, true);
}

void TrayShell::forwardToEditor(const std::string& action) {
    // The application lists its windows most recently focused first.
    for (auto* window : dependencies_.application.get_windows()) {
        if (auto* editor = dynamic_cast<EditorWindow*>(window); editor && editor->is_visible()) {
            editor->activate_action(action);
            return;
        }
    }
}

void TrayShell::hideWindows() {
    if (preferences_) {
        preferences_->window().hide();
    }
    for (auto* window : dependencies_.application.get_windows()) {
        if (dynamic_cast<EditorWindow*>(window) != nullptr) {
            window->close();
        }
    }
}

void TrayShell::factoryReset() {
    dependencies_.services.alerts->show(ShellAlerts::factoryReset(), [this](int answer) {
        if (answer != 0) {
            return;
        }
        // Alt held while confirming keeps this instance running on the empty store.
        const guint state =
            gdk_keymap_get_modifier_state(gdk_keymap_get_for_display(gdk_display_get_default()));
        dependencies_.settings.factoryReset();
        std::string error;
        if (!launchAtLogin().follow(dependencies_.settings, error)) {
            LOG_ERROR("Launch at login: {}", error);
        }
        if (state & GDK_MOD1_MASK) {
            LOG_INFO("Factory reset; running on with empty settings");
            return;
        }
        // Idle: the alert's own signal handler must finish before the process image goes.
        Glib::signal_idle().connect_once([this] { relaunch(); });
    });
}

void TrayShell::relaunch() {
    LOG_INFO("Factory reset; starting again");
    // The bus name must be free for the new image: a fresh process would find this one still
    // owning it and hand over to it.
    if (auto connection = dependencies_.application.get_dbus_connection()) {
        connection->flush_sync();
        connection->close_sync();
    }
    char program[] = "lumeris";
    char* arguments[] = {program, nullptr};
    execv("/proc/self/exe", arguments);
    LOG_ERROR("Cannot start again: {}", std::strerror(errno));
    dependencies_.application.quit();
}

} // namespace lumeris
