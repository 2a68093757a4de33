#pragma once

#include "platform/PrivateXServer.h"

#include <gdk/gdk.h>
#include <memory>
#include <string>

namespace lumeris::testing {

// An X server of this test's own, GDK's default display while the object lives: focus, pointer
// and clipboard are not shared with tests beside it. Destroy its windows first. File-chooser tests
// stay on the shared display: the chooser's caches do not survive a display's close.
class PrivateDisplay {
public:
    PrivateDisplay() : server_(PrivateXServer::start(&error_)) {
        if (!server_) {
            return;
        }
        display_ = gdk_display_open(server_->display().c_str());
        if (display_ == nullptr) {
            error_ = "cannot open " + server_->display();
            return;
        }
        previous_ = gdk_display_get_default();
        gdk_display_manager_set_default_display(gdk_display_manager_get(), display_);
    }
    ~PrivateDisplay() {
        if (display_ != nullptr) {
            gdk_display_manager_set_default_display(gdk_display_manager_get(), previous_);
            gdk_display_close(display_);
        }
    }

    explicit operator bool() const { return display_ != nullptr; }
    const std::string& error() const { return error_; }
    std::string name() const { return server_ ? server_->display() : std::string(); }

private:
    std::string error_;
    std::unique_ptr<PrivateXServer> server_;
    GdkDisplay* display_ = nullptr;
    GdkDisplay* previous_ = nullptr;
};

} // namespace lumeris::testing
