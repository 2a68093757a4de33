#include "app/gtk/CapturePermission.h"

#include "base/Logger.h"
#include "capture/CaptureBackends.h"
#include "capture/PortalCaptureTool.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/gtk/InterfaceFile.h"

#include <glibmm/main.h>
#include <gtkmm/application.h>
#include <gtkmm/button.h>

namespace lumeris {

namespace {

struct PortalQuery {
    CapturePermission::Answer answer;
    GDBusConnection* bus;
};

// The portal is there when its name has an owner or the bus can start it (asking would start it).
void askBus(PortalQuery* query, const char* method, GVariant* parameters,
            GAsyncReadyCallback callback) {
    g_dbus_connection_call(query->bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", method, parameters, nullptr,
                           G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, callback, query);
}

void activatableAnswered(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<PortalQuery> query(static_cast<PortalQuery*>(data));
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
    bool present = false;
    if (reply != nullptr) {
        GVariantIter* names = nullptr;
        const char* name = nullptr;
        g_variant_get(reply, "(as)", &names);
        while (g_variant_iter_next(names, "&s", &name)) {
            present = present || g_strcmp0(name, PortalCaptureTool::BUS_NAME) == 0;
        }
        g_variant_iter_free(names);
        g_variant_unref(reply);
    }
    query->answer(present);
}

void ownerAnswered(GObject* source, GAsyncResult* result, gpointer data) {
    auto* query = static_cast<PortalQuery*>(data);
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
    gboolean owned = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    if (owned) {
        std::unique_ptr<PortalQuery> done(query);
        done->answer(true);
        return;
    }
    askBus(query, "ListActivatableNames", nullptr, &activatableAnswered);
}

} // namespace

CapturePermission::CapturePermission(SettingsStore& settings, std::function<GDBusConnection*()> bus)
    : settings_(settings), bus_(std::move(bus)) {}

CapturePermission::~CapturePermission() {
    timer_.disconnect();
}

std::string CapturePermission::installCommand() {
    std::string command = "sudo apt install";
    for (const auto& package : CaptureBackends::suggestedPackages(CaptureEnvironment::current())) {
        command += " " + package;
    }
    return command;
}

void CapturePermission::probe(Answer answer) {
    std::weak_ptr<CapturePermission> weak = weak_from_this();
    auto decide = [weak, answer = std::move(answer)](bool portalPresent) {
        if (auto self = weak.lock()) {
            answer(CaptureBackends::available(
                CaptureEnvironment::current(),
                self->settings_.string(SettingKeys::CAPTURE_COMMAND, ""), portalPresent));
        }
    };
    GDBusConnection* bus = bus_ ? bus_() : nullptr;
    if (bus == nullptr) {
        Glib::signal_idle().connect_once([decide] { decide(false); });
        return;
    }
    askBus(new PortalQuery{std::move(decide), bus}, "NameHasOwner",
           g_variant_new("(s)", PortalCaptureTool::BUS_NAME), &ownerAnswered);
}

void CapturePermission::start(std::function<void()> ready) {
    ready_ = std::move(ready);
    std::weak_ptr<CapturePermission> weak = weak_from_this();
    probe([weak](bool available) {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (!available) {
            LOG_INFO("No capture tool found; suggesting: {}", installCommand());
            self->showWindow();
        } else if (auto ready = std::exchange(self->ready_, {})) {
            ready();
        }
        self->timer_ = Glib::signal_timeout().connect_seconds(
            [weak] {
                if (auto held = weak.lock()) {
                    held->probe([weak](bool now) {
                        if (auto again = weak.lock()) {
                            again->checked(now);
                        }
                    });
                }
                return true;
            },
            PermissionWatch::INTERVAL_SECONDS);
    });
}

void CapturePermission::checked(bool available) {
    const bool shown = window_ && window_->get_visible();
    if (available && shown) {
        window_->hide();
    }
    if (available) {
        if (auto ready = std::exchange(ready_, {})) {
            ready();
        }
    }
    if (watch_.checked(available) && !shown) {
        showWindow();
    }
}

void CapturePermission::checkAgain() {
    std::weak_ptr<CapturePermission> weak = weak_from_this();
    probe([weak](bool available) {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (!available) {
            self->status_->set_text("Still no screen capture tool. Install the packages above, "
                                    "then check again.");
            self->status_->show();
            return;
        }
        self->checked(true);
    });
}

bool CapturePermission::buildWindow() {
    builder_ = InterfaceFile::load("Permissions");
    Gtk::Window* window =
        builder_ ? InterfaceFile::widget<Gtk::Window>(builder_, "window") : nullptr;
    auto* explanation =
        window ? InterfaceFile::widget<Gtk::Label>(builder_, "explanation") : nullptr;
    auto* command = window ? InterfaceFile::widget<Gtk::Label>(builder_, "command") : nullptr;
    checkAgain_ = window ? InterfaceFile::widget<Gtk::Button>(builder_, "checkAgain") : nullptr;
    status_ = window ? InterfaceFile::widget<Gtk::Label>(builder_, "status") : nullptr;
    if (explanation == nullptr || command == nullptr || checkAgain_ == nullptr ||
        status_ == nullptr) {
        return false;
    }
    window_.reset(window);
    const auto environment = CaptureEnvironment::current();
    const std::string desktop = environment.desktop.empty() ? "this desktop" : environment.desktop;
    explanation->set_text("Lumeris captures the screen with your desktop's screenshot tool, and "
                          "none was found for " +
                          desktop + (environment.wayland ? " on Wayland" : " on X11") +
                          ". Install one with:");
    command->set_text(installCommand());
    std::weak_ptr<CapturePermission> weak = weak_from_this();
    checkAgain_->signal_clicked().connect([weak] {
        if (auto self = weak.lock()) {
            self->checkAgain();
        }
    });
    return true;
}

void CapturePermission::showWindow() {
    if (!window_ && !buildWindow()) {
        LOG_ERROR("The permission window could not be built");
        return;
    }
    status_->hide();
    // Not the selectable command, which would show itself all selected.
    checkAgain_->grab_focus();
    // Part of the application, which then stays up while it is shown.
    if (auto application =
            Glib::RefPtr<Gtk::Application>::cast_dynamic(Gio::Application::get_default())) {
        application->add_window(*window_);
    }
    window_->present();
}

} // namespace lumeris
