#pragma once

#include "app/CaptureBackendProbe.h"
#include "app/DetectedTextHistory.h"
#include "app/HotkeyController.h"
#include "app/StartupSequencer.h"
#include "app/gtk/PreferencesWindow.h"
#include "app/gtk/StatusItem.h"
#include "capture/DbusFileManager.h"
#include "platform/DesktopServices.h"

#include <gtkmm/application.h>
#include <memory>

namespace lumeris {

class SettingsStore;

// The tray application around the editors: start-up after the capture tool is found, the status
// item and its menu, the two global keys, the preferences window, the recognised-text history
// and the factory reset. Every menu entry is an action of the application ("app.preferences"),
// so the desktop's launcher and the command line reach the same things. Main thread.
class TrayShell {
public:
    struct Dependencies {
        Gtk::Application& application;
        SettingsStore& settings;
        DesktopServices services;
        // Waited for before the hot keys and the status item are set up; none: nothing to
        // wait for.
        CaptureBackendProbe* probe = nullptr;
    };

    explicit TrayShell(Dependencies dependencies);
    ~TrayShell();
    TrayShell(const TrayShell&) = delete;
    TrayShell& operator=(const TrayShell&) = delete;

    // Start-up after the settings are registered: the capture tool probe, then the rest.
    void start();
    // The application was activated: the first time the launch-window rule (nothing when
    // `hidden`), later the reopen rule.
    void activate(bool hidden);
    // Files were opened: that is the launch's window.
    void opened() { activated_ = true; }

    // A recognised text for the menu's history (every editor's recognition reports here).
    void addDetectedText(const std::string& text);

    void showPreferences();

private:
    void addActions();
    void continueLaunch();
    void updateMenu();
    void reportConflicts(const std::vector<HotkeyController::Hotkey>& conflicts);
    void bindingChanged();
    void capture(const char* action);
    void copyDetectedText(int position);
    void forwardToEditor(const std::string& action);
    void hideWindows();
    void factoryReset();
    void relaunch();
    std::vector<StatusMenu::Item> menuItems() const;

    Dependencies dependencies_;
    std::shared_ptr<HotkeyRegistrar> registrar_;
    HotkeyController hotkeys_;
    DetectedTextHistory history_;
    DbusFileManager fileManager_;
    std::shared_ptr<StartupSequencer> sequencer_;
    std::unique_ptr<StatusItem> statusItem_;
    std::unique_ptr<PreferencesWindow> preferences_;
    SettingsStore::Subscription statusIconSubscription_;
    bool activated_ = false;
    bool trayShown_ = false;
};

} // namespace lumeris
