#include "app/gtk/CaptureController.h"

#include "app/gtk/EditorIntake.h"
#include "base/Logger.h"
#include "capture/RawBackup.h"
#include "capture/ScreenCapture.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gdk/gdkx.h>
#include <gtkmm/window.h>

namespace lumeris {

namespace fs = std::filesystem;

CaptureController::CaptureController(Gtk::Application& application, SettingsStore& settings,
                                     std::shared_ptr<EditorIntake> intake,
                                     std::shared_ptr<ScreenCapture> capture)
    : application_(application), settings_(settings), intake_(std::move(intake)),
      capture_(std::move(capture)) {}

void CaptureController::activate(bool shouldCopyToClipdBoard, bool onlyWindow) {
    if (capture_->running()) {
        LOG_DEBUG("a capture is running; this one is ignored");
        return;
    }
    if (settings_.boolValue(SettingKeys::HIDE_WINDOWS_WHEN_SCREENSHOT, true)) {
        setAsideWindows();
    }
    application_.hold();
    std::weak_ptr<int> alive = lifetime_;
    capture_->capturePic(onlyWindow,
                         [this, alive, shouldCopyToClipdBoard](std::optional<fs::path> captured) {
                             if (alive.expired()) {
                                 return;
                             }
                             bringBackWindows();
                             if (!captured) {
                                 LOG_DEBUG("unable to get picURL from Utils.capturePic");
                                 intake_->noEditorComing();
                             } else {
                                 LOG_DEBUG("picURL: {}", captured->string());
                                 RawBackup::makeRawBackup(settings_, *captured);
                                 if (shouldCopyToClipdBoard) {
                                     intake_->captureAndCopy(*captured);
                                 } else {
                                     intake_->openCapture(*captured);
                                 }
                             }
                             application_.release();
                         });
    // The tool runs and the user is choosing: time enough for the editor's renderer to start.
    intake_->expectEditor();
}

void CaptureController::setAsideWindows() {
    // On Wayland the selection is drawn above every window and ours cannot be lowered anyway.
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) {
        return;
    }
    for (Gtk::Window* window : application_.get_windows()) {
        auto realized = window->get_window();
        GdkWindow* gdkWindow = window->get_visible() && realized ? realized->gobj() : nullptr;
        if (gdkWindow != nullptr) {
            setAside_.push_back(GObjectPtr<GdkWindow>::retain(gdkWindow));
            gdk_window_lower(gdkWindow);
        }
    }
}

void CaptureController::bringBackWindows() {
    for (const auto& window : setAside_) {
        if (!gdk_window_is_destroyed(window.get())) {
            gdk_window_raise(window.get());
        }
    }
    setAside_.clear();
}

} // namespace lumeris
