#pragma once

#include "app/gtk/CaptureController.h"
#include "app/gtk/CapturePermission.h"
#include "app/gtk/EditorIntake.h"
#include "app/gtk/WatermarkTemplateWindow.h"
#include "app/gtk/TrayShell.h"
#include "capture/WallpaperDesktopPicture.h"
#include "platform/DesktopServices.h"
#include "platform/GdkScreenLocator.h"
#include "settings/SettingsStore.h"

#include <gtkmm/application.h>
#include <memory>

namespace lumeris {

// The one running Lumeris of the session ("app.lumeris.Lumeris" on the session bus): files named
// on a later command line open as editors here, and the later process exits. It stays in the
// tray until the user quits it.
class LumerisApplication : public Gtk::Application {
public:
    static constexpr const char* ID = "app.lumeris.Lumeris";

    // Application actions; the command-line verbs of the same names ("--capture") run them in
    // the running instance, starting one when none runs.
    static constexpr const char* CAPTURE = "capture";
    static constexpr const char* CAPTURE_WINDOW = "capture-window";
    static constexpr const char* CAPTURE_COPY = "capture-copy";
    static constexpr const char* OPEN_FILE = "open-file";
    static constexpr const char* FROM_CLIPBOARD = "from-clipboard";
    static constexpr const char* REOPEN = "reopen";
    static constexpr const char* VERBS[] = {CAPTURE, CAPTURE_WINDOW, CAPTURE_COPY, FROM_CLIPBOARD,
                                            REOPEN};

    static Glib::RefPtr<LumerisApplication> create();

    // For the start-up: the capture tool probe and its window.
    CapturePermission& capturePermission() { return *permission_; }
    // Started at login: no window at launch.
    void setStartHidden(bool hidden) { startHidden_ = hidden; }

protected:
    LumerisApplication();

    // Primary instance only.
    void on_startup() override;
    void on_activate() override;
    void on_open(const type_vec_files& files, const Glib::ustring& hint) override;

private:
    // While this process owns the clipboard it stays up, so that a copied picture can still be
    // pasted after the last editor closed; taking the clipboard elsewhere lets it end.
    void followClipboardOwnership();
    void addActions();
    int runVerb(const Glib::RefPtr<Glib::VariantDict>& options);
    void holdWhileOwningClipboard();
    // Built on first use and kept; a picked template reaches every editor through the signal.
    void showWatermarkTemplates();

    SettingsStore settings_;
    DesktopServices services_;
    std::unique_ptr<GdkScreenLocator> screens_;
    std::unique_ptr<WallpaperDesktopPicture> desktopPicture_;
    std::shared_ptr<EditorIntake> intake_;
    std::unique_ptr<CaptureController> capture_;
    std::shared_ptr<CapturePermission> permission_;
    std::unique_ptr<TrayShell> tray_;
    bool startHidden_ = false;
    bool heldForClipboard_ = false;
    sigc::signal<void()> watermarkTextSelected_;
    std::unique_ptr<WatermarkTemplateWindow> watermarkTemplates_;
};

} // namespace lumeris
