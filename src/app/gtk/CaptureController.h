#pragma once

#include "base/GObjectPtr.h"

#include <gdk/gdk.h>
#include <gtkmm/application.h>
#include <memory>
#include <vector>

namespace lumeris {

class EditorIntake;
class ScreenCapture;
class SettingsStore;

// One capture from the key or menu to the editor: our windows set aside, the capture tool run
// without blocking the main loop, the windows brought back, the raw backup, then an editor or
// the capture-and-copy editor. A capture asked for while one runs is ignored. Main thread.
class CaptureController {
public:
    CaptureController(Gtk::Application& application, SettingsStore& settings,
                      std::shared_ptr<EditorIntake> intake, std::shared_ptr<ScreenCapture> capture);

    void activate(bool shouldCopyToClipdBoard, bool onlyWindow);

private:
    void setAsideWindows();
    void bringBackWindows();

    Gtk::Application& application_;
    SettingsStore& settings_;
    std::shared_ptr<EditorIntake> intake_;
    std::shared_ptr<ScreenCapture> capture_;
    // Held by their GDK windows, which outlive a window closed meanwhile harmlessly.
    std::vector<GObjectPtr<GdkWindow>> setAside_;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace lumeris
