#pragma once

#include "ui/Alerts.h"

#include <functional>
#include <gtkmm/messagedialog.h>
#include <memory>
#include <vector>

namespace lumeris {

// Alerts as GTK message dialogs: the title in bold, the informative text below, the first button
// the default one and placed last, where GNOME puts the affirmative button. Open dialogs close
// with this object.
class MessageDialogAlerts : public Alerts {
public:
    // The window alerts are modal to, asked when each alert opens; none makes them free-standing.
    using ParentProvider = std::function<Gtk::Window*()>;

    explicit MessageDialogAlerts(ParentProvider parent = {});

    void show(const AlertRequest& request, Answer answer) override;

private:
    void finish(Gtk::MessageDialog* dialog);

    ParentProvider parent_;
    std::vector<std::shared_ptr<Gtk::MessageDialog>> open_;
};

} // namespace lumeris
