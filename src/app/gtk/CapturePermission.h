#pragma once

#include "app/CaptureBackendProbe.h"
#include "capture/PermissionWatch.h"

#include <functional>
#include <gio/gio.h>
#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <memory>
#include <sigc++/connection.h>

namespace lumeris {

class SettingsStore;

// Whether Lumeris can capture the screen: a capture tool (or the desktop portal) is there. The
// window says which packages this desktop needs and offers "Check Again"; the watch re-probes
// every five seconds and brings the window back after the third failing check in a row. The
// tray's start-up calls `start`. Main thread.
class CapturePermission : public CaptureBackendProbe,
                          public std::enable_shared_from_this<CapturePermission> {
public:
    using Answer = std::function<void(bool available)>;

    CapturePermission(SettingsStore& settings, std::function<GDBusConnection*()> bus);
    ~CapturePermission();
    CapturePermission(const CapturePermission&) = delete;
    CapturePermission& operator=(const CapturePermission&) = delete;

    // Probes now: without a tool the window shows until one is found; `ready` runs once one is
    // (at once when there is). The watch runs from then on.
    void start(std::function<void()> ready = {});
    void waitForBackend(std::function<void()> found) override { start(std::move(found)); }
    // Without side effects; `answer` runs later from the main loop.
    void probe(Answer answer);
    // Made once and kept.
    void showWindow();

    // "sudo apt install …" for this desktop.
    static std::string installCommand();

private:
    void checked(bool available);
    void checkAgain();
    bool buildWindow();

    SettingsStore& settings_;
    std::function<GDBusConnection*()> bus_;
    std::function<void()> ready_;
    PermissionWatch watch_;
    sigc::connection timer_;
    Glib::RefPtr<Gtk::Builder> builder_;
    std::unique_ptr<Gtk::Window> window_;
    Gtk::Label* status_ = nullptr;
    Gtk::Button* checkAgain_ = nullptr;
};

} // namespace lumeris
