#pragma once

#include <gtkmm/builder.h>
#include <gtkmm/popover.h>
#include <gtkmm/widget.h>
#include <sigc++/trackable.h>

namespace lumeris {

// Base of the contents shown through the popover registry. The view comes from an interface
// file; the builder is kept so the view outlives any one popover it is shown in (a kept content
// moves to a fresh popover on every show without reuse). Trackable, so handlers connected to
// its widgets with sigc::mem_fun end with it.
class PopoverContentViewController : public sigc::trackable {
public:
    virtual ~PopoverContentViewController() = default;
    PopoverContentViewController(const PopoverContentViewController&) = delete;
    PopoverContentViewController& operator=(const PopoverContentViewController&) = delete;

    Gtk::Widget& view() { return view_; }

    // The popover showing this content, set by the registry; cleared when that popover goes.
    Gtk::Popover* parentPopover() const { return parentPopover_; }
    void setParentPopover(Gtk::Popover* popover) { parentPopover_ = popover; }

    // Contents close themselves through their popover.
    void closePopover() {
        if (parentPopover_ != nullptr) {
            parentPopover_->popdown();
        }
    }

protected:
    PopoverContentViewController(Glib::RefPtr<Gtk::Builder> builder, Gtk::Widget& view)
        : builder_(std::move(builder)), view_(view) {}

private:
    Glib::RefPtr<Gtk::Builder> builder_;
    Gtk::Widget& view_;
    Gtk::Popover* parentPopover_ = nullptr;
};

} // namespace lumeris
