#include "app/gtk/PreferencesWindow.h"

#include "app/ShellAlerts.h"
#include "app/ShortcutRecorder.h"
#include "base/BuildInfo.h"
#include "base/Logger.h"
#include "capture/ArchiveFolders.h"
#include "settings/SettingKeys.h"
#include "ui/Alerts.h"
#include "ui/TooltipTexts.h"
#include "ui/gtk/InterfaceFile.h"
#include "ui/gtk/Tooltips.h"

#include <glibmm/main.h>
#include <gtkmm/box.h>
#include <gtkmm/dialog.h>

namespace lumeris {

std::unique_ptr<PreferencesWindow> PreferencesWindow::create(Dependencies dependencies) {
    auto builder = InterfaceFile::load("Preferences");
    if (!builder) {
        return nullptr;
    }
    Gtk::Window* window = InterfaceFile::widget<Gtk::Window>(builder, "preferencesWindow");
    if (window == nullptr) {
        return nullptr;
    }
    try {
        return std::unique_ptr<PreferencesWindow>(
            new PreferencesWindow(std::move(dependencies), std::move(builder)));
    } catch (const std::runtime_error& error) {
        LOG_ERROR("cannot build the preferences window: {}", error.what());
        return nullptr;
    }
}

template <typename T> T& PreferencesWindow::widget(const char* id) {
    return InterfaceFile::required<T>(builder_, id);
}

PreferencesWindow::PreferencesWindow(Dependencies dependencies, Glib::RefPtr<Gtk::Builder> builder)
    : dependencies_(std::move(dependencies)), builder_(std::move(builder)),
      tooltips_(std::make_unique<Tooltips>(dependencies_.settings)) {
    Gtk::Window* window = nullptr;
    builder_->get_widget("preferencesWindow", window);
    window_.reset(window);
    // Closing hides it; the window is kept for the next time.
    window_->signal_delete_event().connect([this](GdkEventAny*) {
        window_->hide();
        return true;
    });
    widget<Gtk::Label>("versionLabel")
        .set_text(std::string("Version ") + build::VERSION + " (" + build::BUILD_NUMBER + ")");

    auto& settings = dependencies_.settings;
    bindSwitch("captureHotkeySwitch", SettingKeys::GLOBAL_HOTKEY_ENABLED, true,
               [this](bool) { dependencies_.hotkeys.setupHotkey(); });
    bindSwitch("copyHotkeySwitch", SettingKeys::TAKE_AND_COPY_HOTKEY_ENABLED, true,
               [this](bool) { dependencies_.hotkeys.setupHotkey(); });
    bindSwitch("fileNameSwitch", SettingKeys::ENABLE_DEFAULT_FILE_NAME, false);
    bindSwitch("compressionSwitch", SettingKeys::IMAGE_COMPRESSION, false);
    bindSwitch("statusIconSwitch", SettingKeys::SHOW_STATUS_ICON, true);
    bindSwitch("hideAtLaunchSwitch", SettingKeys::HIDE_WINDOW_AT_LAUNCH, false);
    bindSwitch("soundsSwitch", SettingKeys::SOUNDS_ON, true);
    bindSwitch("launchAtLoginSwitch", SettingKeys::LAUNCH_AT_LOGIN, false, [this](bool) {
        std::string error;
        if (!dependencies_.launchAtLogin.follow(dependencies_.settings, error)) {
            LOG_ERROR("Launch at login: {}", error);
            dependencies_.alerts->show({"Error", error, {"OK"}}, [](int) {});
        }
    });
    widget<Gtk::Switch>("launchAtLoginSwitch").set_active(dependencies_.launchAtLogin.isEnabled());

    auto& fileName = widget<Gtk::Entry>("fileNameEntry");
    fileName.set_text(settings.string(SettingKeys::DEFAULT_FILE_NAME, "Lumeris-{datetime}"));
    fileName.signal_changed().connect([this, &fileName] {
        dependencies_.settings.set(SettingKeys::DEFAULT_FILE_NAME, fileName.get_text().raw());
    });
    auto& fileNameHelp = widget<Gtk::Button>("fileNameHelpButton");
    fileNameHelp.signal_clicked().connect([this, &fileNameHelp] {
        tooltips_->showTooltip(std::string(TooltipTexts::FILE_NAME_VARIABLES), fileNameHelp,
                               PopoverEdge::Right, true);
    });
    widget<Gtk::Button>("compressionHelpButton").signal_clicked().connect([this] {
        dependencies_.alerts->show(ShellAlerts::imageCompression(), [](int) {});
    });
    widget<Gtk::Button>("factoryResetButton").signal_clicked().connect([this] {
        dependencies_.factoryReset();
    });
    connectFolders();
    connectRecorders();

    widget<Gtk::Button>("askDesktopAgainButton").signal_clicked().connect([this] {
        dependencies_.hotkeys.setupHotkey();
        showShortcuts();
    });
    auto& addShortcuts = widget<Gtk::Button>("addDesktopShortcutsButton");
    addShortcuts.set_visible(static_cast<bool>(dependencies_.addDesktopShortcuts));
    addShortcuts.signal_clicked().connect([this] { dependencies_.addDesktopShortcuts(); });

    window_->signal_show().connect([this] { scheduleOnboardingHint(); });
}

PreferencesWindow::~PreferencesWindow() {
    *alive_ = false;
    keyConnection_.disconnect();
}

void PreferencesWindow::present() {
    refreshFolders();
    showShortcuts();
    window_->present();
}

void PreferencesWindow::setTrayShown(bool shown) {
    widget<Gtk::Label>("statusIconNote")
        .set_text(shown ? ""
                        : "This desktop shows no tray icons: its launcher offers the capture "
                          "actions, and so does the command line (lumeris --capture).");
    widget<Gtk::Label>("statusIconNote").set_visible(!shown);
}

void PreferencesWindow::bindSwitch(const char* id, const SettingKey& key, bool fallback,
                                   const std::function<void(bool)>& changed) {
    auto& control = widget<Gtk::Switch>(id);
    control.set_active(dependencies_.settings.boolValue(key, fallback));
    control.property_active().signal_changed().connect([this, &control, key, changed] {
        const bool active = control.get_active();
        if (dependencies_.settings.boolValue(key, !active) == active) {
            return;
        }
        dependencies_.settings.set(key, active);
        if (changed) {
            changed(active);
        }
    });
    // Written elsewhere (a factory reset): the switch follows without echoing back.
    subscriptions_.push_back(
        dependencies_.settings.observe(key, [this, &control, key, fallback](const std::string&) {
            const bool value = dependencies_.settings.boolValue(key, fallback);
            if (control.get_active() != value) {
                control.set_active(value);
            }
        }));
}

void PreferencesWindow::connectFolders() {
    widget<Gtk::Button>("chooseScreenshotPathButton").signal_clicked().connect([this] {
        chooseFolder(SettingKeys::SCREENSHOT_PATH);
    });
    widget<Gtk::Button>("chooseSavePathButton").signal_clicked().connect([this] {
        chooseFolder(SettingKeys::SAVE_PATH);
    });
    widget<Gtk::Button>("openScreenshotPathButton").signal_clicked().connect([this] {
        ArchiveFolders::openDirURLCreateIfNeeded(
            dependencies_.settings.string(SettingKeys::SCREENSHOT_PATH, ""),
            dependencies_.fileManager);
    });
    widget<Gtk::Button>("openSavePathButton").signal_clicked().connect([this] {
        ArchiveFolders::openDirURLCreateIfNeeded(
            dependencies_.settings.string(SettingKeys::SAVE_PATH, ""), dependencies_.fileManager);
    });
    for (const SettingKey* key : {&SettingKeys::SCREENSHOT_PATH, &SettingKeys::SAVE_PATH}) {
        subscriptions_.push_back(
            dependencies_.settings.observe(*key, [this](const std::string&) { refreshFolders(); }));
    }
    refreshFolders();
}

void PreferencesWindow::refreshFolders() {
    widget<Gtk::Label>("screenshotPathLabel")
        .set_text(dependencies_.settings.string(SettingKeys::SCREENSHOT_PATH, ""));
    widget<Gtk::Label>("savePathLabel")
        .set_text(dependencies_.settings.string(SettingKeys::SAVE_PATH, ""));
}

void PreferencesWindow::chooseFolder(const SettingKey& key) {
    folderChooser_ = Gtk::FileChooserNative::create(
        "Choose a directory", *window_, Gtk::FILE_CHOOSER_ACTION_SELECT_FOLDER, "Choose", "Cancel");
    const std::string current = dependencies_.settings.string(key, "");
    if (!current.empty()) {
        folderChooser_->set_current_folder(current);
    }
    folderChooser_->signal_response().connect([this, key](int response) {
        if (response == Gtk::RESPONSE_ACCEPT) {
            const std::string chosen = folderChooser_->get_filename();
            if (!chosen.empty()) {
                dependencies_.settings.set(key, chosen);
            }
        }
        // Released from the main loop, not inside its own signal.
        Glib::signal_idle().connect_once([chooser = folderChooser_] {});
        folderChooser_.reset();
    });
    folderChooser_->show();
}

void PreferencesWindow::connectRecorders() {
    captureRecorder_ = &widget<Gtk::Button>("captureRecorder");
    copyRecorder_ = &widget<Gtk::Button>("copyRecorder");
    captureRecorder_->signal_clicked().connect(
        [this] { startRecording(HotkeyController::Hotkey::Capture); });
    copyRecorder_->signal_clicked().connect(
        [this] { startRecording(HotkeyController::Hotkey::CaptureAndCopy); });
    keyConnection_ = window_->signal_key_press_event().connect(
        [this](GdkEventKey* event) { return recorderKeyPressed(event); }, false);
    // Leaving the window ends a recording as if nothing was pressed.
    window_->signal_focus_out_event().connect([this](GdkEventFocus*) {
        if (recording_) {
            recording_.reset();
            showShortcuts();
        }
        return false;
    });
    showShortcuts();
}

void PreferencesWindow::showShortcuts() {
    using Binding = HotkeyController::Binding;
    using Hotkey = HotkeyController::Hotkey;
    const auto& hotkeys = dependencies_.hotkeys;
    const Binding binding = hotkeys.binding();
    // Keys the desktop binds are changed in its settings, not recorded here.
    const bool byDesktop = binding == Binding::Asking || binding == Binding::ByDesktop;
    for (auto hotkey : {Hotkey::Capture, Hotkey::CaptureAndCopy}) {
        auto* recorder = hotkey == Hotkey::Capture ? captureRecorder_ : copyRecorder_;
        recorder->set_sensitive(!byDesktop);
        if (binding == Binding::ByDesktop) {
            recorder->set_label(hotkeys.desktopTrigger(hotkey).value_or("Not set"));
        } else {
            recorder->set_label(hotkeys.shortcut(hotkey).displayText());
        }
    }
    const char* note = binding == Binding::Asking
                           ? "Waiting for the desktop to confirm the shortcuts…"
                       : binding == Binding::ByDesktop
                           ? "Shortcuts are managed by your desktop’s settings: change them in its "
                             "keyboard shortcuts, where Lumeris is listed."
                       : binding == Binding::Refused ? "The desktop did not set these shortcuts."
                                                     : "";
    widget<Gtk::Label>("hotkeyDesktopNote").set_text(note);
    widget<Gtk::Box>("hotkeyDesktopBox").set_visible(*note != '\0');
    widget<Gtk::Button>("askDesktopAgainButton").set_visible(binding == Binding::Refused);
    widget<Gtk::Box>("hotkeyAssistant").set_visible(binding == Binding::Unsupported);
}

void PreferencesWindow::startRecording(HotkeyController::Hotkey hotkey) {
    showShortcuts();
    recording_ = hotkey;
    auto* recorder = hotkey == HotkeyController::Hotkey::Capture ? captureRecorder_ : copyRecorder_;
    recorder->set_label("Press a shortcut…");
}

bool PreferencesWindow::recorderKeyPressed(GdkEventKey* event) {
    if (!recording_) {
        return false;
    }
    // The key as it is without Shift, so Ctrl+Shift+P is stored with "p".
    const guint key = gdk_keyval_to_lower(event->keyval);
    const char* name = gdk_keyval_name(key);
    const auto press = ShortcutRecorder::interpret(key, event->state, gdk_keyval_to_unicode(key),
                                                   name != nullptr ? name : "");
    switch (press.meaning) {
    case ShortcutRecorder::Meaning::KeepListening:
        break;
    case ShortcutRecorder::Meaning::Cancel:
        recording_.reset();
        showShortcuts();
        break;
    case ShortcutRecorder::Meaning::Clear:
        finishRecording(std::nullopt);
        break;
    case ShortcutRecorder::Meaning::Recorded:
        finishRecording(press.shortcut);
        break;
    }
    return true;
}

void PreferencesWindow::finishRecording(std::optional<Shortcut> shortcut) {
    const auto hotkey = *recording_;
    recording_.reset();
    const auto outcome = dependencies_.hotkeys.record(hotkey, shortcut);
    showShortcuts();
    if (outcome == HotkeyController::Recorded::Stored) {
        dependencies_.shortcutsChanged();
    } else if (outcome == HotkeyController::Recorded::Conflict) {
        dependencies_.alerts->show(HotkeyController::conflictAlert({*shortcut}), [](int) {});
    }
}

void PreferencesWindow::scheduleOnboardingHint() {
    const auto capture = dependencies_.hotkeys.shortcut(HotkeyController::Hotkey::Capture);
    if (capture.displayText() != Shortcut::defaultCapture().displayText() ||
        !captureRecorder_->is_sensitive()) {
        return;
    }
    Glib::signal_timeout().connect_once(
        [this, alive = std::weak_ptr<bool>(alive_)] {
            if (alive.expired() || !window_->is_visible()) {
                return;
            }
            tooltips_->showTooltip(std::string(TooltipTexts::ONBOARD_ASSIGN_SHORTCUT),
                                   *captureRecorder_, PopoverEdge::Bottom, false,
                                   std::string(SettingKeys::ONBOARD_ASSIGN_SHORTCUT_HINT));
        },
        1000);
}

} // namespace lumeris
