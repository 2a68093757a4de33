#pragma once

#include "app/HotkeyController.h"
#include "app/LaunchAtLogin.h"
#include "settings/SettingsStore.h"

#include <functional>
#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/filechoosernative.h>
#include <gtkmm/label.h>
#include <gtkmm/switch.h>
#include <gtkmm/window.h>
#include <memory>
#include <optional>
#include <vector>

namespace lumeris {

class Alerts;
class FileManager;
class Tooltips;

// The preferences window (resources/ui/Preferences.ui), created on first use and kept. Its
// controls write the settings at once; the two shortcut recorders go through the hot-key
// controller, which refuses keys held elsewhere.
class PreferencesWindow {
public:
    struct Dependencies {
        SettingsStore& settings;
        HotkeyController& hotkeys;
        std::shared_ptr<Alerts> alerts;
        FileManager& fileManager;
        LaunchAtLogin launchAtLogin;
        // After a shortcut was stored: the capture entry's title changes.
        std::function<void()> shortcutsChanged;
        std::function<void()> factoryReset;
        // "Add both to GNOME's keyboard shortcuts", offered where that desktop runs; empty
        // elsewhere.
        std::function<void()> addDesktopShortcuts;
    };

    // Nothing (and a logged error) when the interface file does not load.
    static std::unique_ptr<PreferencesWindow> create(Dependencies dependencies);
    ~PreferencesWindow();

    Gtk::Window& window() { return *window_; }
    // Shows it in front.
    void present();
    // Whether the desktop shows a tray icon; without one the switch says where the menu went.
    void setTrayShown(bool shown);
    // Says who binds the keys (this program, the desktop, nobody) and shows them.
    void showShortcuts();

private:
    PreferencesWindow(Dependencies dependencies, Glib::RefPtr<Gtk::Builder> builder);
    template <typename T> T& widget(const char* id);
    void bindSwitch(const char* id, const SettingKey& key, bool fallback,
                    const std::function<void(bool)>& changed = {});
    void connectFolders();
    void connectRecorders();
    void startRecording(HotkeyController::Hotkey hotkey);
    bool recorderKeyPressed(GdkEventKey* event);
    void finishRecording(std::optional<Shortcut> shortcut);
    void chooseFolder(const SettingKey& key);
    void refreshFolders();
    void scheduleOnboardingHint();

    Dependencies dependencies_;
    Glib::RefPtr<Gtk::Builder> builder_;
    std::unique_ptr<Gtk::Window> window_;
    std::unique_ptr<Tooltips> tooltips_;
    Gtk::Button* captureRecorder_ = nullptr;
    Gtk::Button* copyRecorder_ = nullptr;
    std::optional<HotkeyController::Hotkey> recording_;
    Glib::RefPtr<Gtk::FileChooserNative> folderChooser_;
    std::vector<SettingsStore::Subscription> subscriptions_;
    sigc::connection keyConnection_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace lumeris
