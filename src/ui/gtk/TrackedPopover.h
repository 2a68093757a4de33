#pragma once

#include "base/GObjectPtr.h"
#include "ui/PopoverBehavior.h"
#include "ui/PopoverEdge.h"

#include <gtkmm/popover.h>
#include <memory>

namespace lumeris {

// One popover built around a content view. GTK ties a popover to its anchor's window and lets it
// go with that window, so this keeps the anchor referenced (never a dangling pointer) and tells
// whether the popover is still attached to a live window; the registries rebuild it when not.
// The content view is taken out before the popover is destroyed, so it can be shown again.
class TrackedPopover {
public:
    TrackedPopover(Gtk::Widget& anchor, Gtk::Widget& content, int width, int height,
                   PopoverBehavior behavior);
    ~TrackedPopover();
    TrackedPopover(const TrackedPopover&) = delete;
    TrackedPopover& operator=(const TrackedPopover&) = delete;

    Gtk::Popover& popover() { return *popover_; }

    // The anchor is still in a window and the popover still hangs off that window.
    bool alive() const;

    // Pops up relative to the whole of `anchor` (which may differ from the last one).
    void show(Gtk::Widget& anchor, PopoverEdge edge);

    static Gtk::PositionType position(PopoverEdge edge);

private:
    void attach(Gtk::Widget& anchor);

    std::unique_ptr<Gtk::Popover> popover_;
    GObjectPtr<GtkWidget> anchor_;
    GObjectPtr<GtkWidget> content_;
};

} // namespace lumeris
