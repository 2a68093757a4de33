#include "ui/gtk/TrackedPopover.h"

#include "ui/gtk/InterfaceFile.h"

namespace lumeris {

TrackedPopover::TrackedPopover(Gtk::Widget& anchor, Gtk::Widget& content, int width, int height,
                               PopoverBehavior behavior)
    : content_(GObjectPtr<GtkWidget>::retain(content.gobj())) {
    InterfaceFile::ensureGtkmm();
    // Owned here rather than managed: GTK then cannot dispose it behind our back when the
    // anchor's window goes, it only detaches it.
    popover_ = std::make_unique<Gtk::Popover>();
    popover_->set_modal(behavior == PopoverBehavior::Transient);
    if (auto* parent = content.get_parent()) {
        gtk_container_remove(GTK_CONTAINER(parent->gobj()), content.gobj());
    }
    // A minimum: content that needs more room than the caller's size gets it.
    content.set_size_request(width, height);
    popover_->add(content);
    attach(anchor);
}

TrackedPopover::~TrackedPopover() {
    if (gtk_widget_get_parent(content_.get()) == GTK_WIDGET(popover_->gobj())) {
        popover_->remove();
    }
    popover_.reset();
}

bool TrackedPopover::alive() const {
    GtkWidget* window = gtk_widget_get_toplevel(anchor_.get());
    return gtk_widget_is_toplevel(window) && !gtk_widget_in_destruction(window) &&
           gtk_widget_get_toplevel(GTK_WIDGET(popover_->gobj())) == window;
}

void TrackedPopover::show(Gtk::Widget& anchor, PopoverEdge edge) {
    if (anchor.gobj() != anchor_.get()) {
        attach(anchor);
    }
    popover_->set_position(position(edge));
    popover_->popup();
}

void TrackedPopover::attach(Gtk::Widget& anchor) {
    anchor_ = GObjectPtr<GtkWidget>::retain(anchor.gobj());
    popover_->set_relative_to(anchor);
}

Gtk::PositionType TrackedPopover::position(PopoverEdge edge) {
    switch (edge) {
    case PopoverEdge::Left:
        return Gtk::POS_LEFT;
    case PopoverEdge::Bottom:
        return Gtk::POS_BOTTOM;
    case PopoverEdge::Right:
        return Gtk::POS_RIGHT;
    case PopoverEdge::Top:
        return Gtk::POS_TOP;
    }
    return Gtk::POS_TOP;
}

} // namespace lumeris
