#include "platform/MessageDialogAlerts.h"

#include "base/Logger.h"

#include <algorithm>
#include <exception>
#include <glibmm/main.h>

namespace lumeris {

MessageDialogAlerts::MessageDialogAlerts(ParentProvider parent) : parent_(std::move(parent)) {}

void MessageDialogAlerts::show(const AlertRequest& request, Answer answer) {
    Gtk::Window* parent = parent_ ? parent_() : nullptr;
    auto dialog =
        parent != nullptr
            ? std::make_shared<Gtk::MessageDialog>(*parent, request.title, false,
                                                   Gtk::MESSAGE_WARNING, Gtk::BUTTONS_NONE, true)
            : std::make_shared<Gtk::MessageDialog>(request.title, false, Gtk::MESSAGE_WARNING,
                                                   Gtk::BUTTONS_NONE, true);
    if (!request.informativeText.empty()) {
        dialog->set_secondary_text(request.informativeText);
    }
    const int count = static_cast<int>(request.buttons.size());
    for (int index = count - 1; index >= 0; --index) {
        dialog->add_button(request.buttons[index], index);
    }
    if (count == 0) {
        dialog->add_button("OK", 0);
    }
    dialog->set_default_response(0);
    if (auto* defaultButton = dialog->get_widget_for_response(0)) {
        defaultButton->get_style_context()->add_class("suggested-action");
    }
    dialog->set_position(parent != nullptr ? Gtk::WIN_POS_CENTER_ON_PARENT : Gtk::WIN_POS_CENTER);

    const int dismissed = dismissedAnswer(request);
    Gtk::MessageDialog* raw = dialog.get();
    dialog->signal_response().connect([this, raw, dismissed, answer](int response) {
        finish(raw);
        try {
            answer(response >= 0 ? response : dismissed);
        } catch (const std::exception& error) {
            LOG_ERROR("An alert's answer failed: {}", error.what());
        }
    });
    open_.push_back(dialog);
    dialog->present();
}

void MessageDialogAlerts::finish(Gtk::MessageDialog* dialog) {
    auto found = std::find_if(open_.begin(), open_.end(),
                              [dialog](const auto& held) { return held.get() == dialog; });
    if (found == open_.end()) {
        return;
    }
    // The dialog is emitting its response now; it is released once that is over.
    std::shared_ptr<Gtk::MessageDialog> closing = std::move(*found);
    open_.erase(found);
    closing->hide();
    Glib::signal_idle().connect_once([closing] {});
}

} // namespace lumeris
