#pragma once

#include "ui/OnceHints.h"

#include <gtkmm/box.h>
#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/popover.h>
#include <memory>
#include <optional>
#include <sigc++/trackable.h>
#include <string>

namespace lumeris {

// The text of the shared tooltip popover. Ordinary tooltips are text alone; a one-time hint also
// offers OK and "don't show again", which remembers the hint's id in the settings.
class TooltipViewController : public sigc::trackable {
public:
    // Nothing when the interface file does not load.
    static std::unique_ptr<TooltipViewController> create(OnceHints hints);

    Gtk::Widget& view() { return *view_; }
    Gtk::Label& label() { return *label_; }
    Gtk::Box& controlStackView() { return *controlStackView_; }
    Gtk::Button& okButton() { return *okButton_; }
    Gtk::Button& dontShowAgainButton() { return *dontShowAgainButton_; }
    const std::optional<std::string>& onceID() const { return onceID_; }

    Gtk::Popover* parentPopover() const { return parentPopover_; }
    void setParentPopover(Gtk::Popover* popover) { parentPopover_ = popover; }

    // Shows `text`; the buttons only for a one-time hint.
    void configure(const std::string& text, std::optional<std::string> onceID);

    void okButtonAction();
    void dontShowAgainButtonAction();

private:
    TooltipViewController(Glib::RefPtr<Gtk::Builder> builder, OnceHints hints);
    void close();

    Glib::RefPtr<Gtk::Builder> builder_;
    OnceHints hints_;
    Gtk::Widget* view_ = nullptr;
    Gtk::Label* label_ = nullptr;
    Gtk::Box* controlStackView_ = nullptr;
    Gtk::Button* okButton_ = nullptr;
    Gtk::Button* dontShowAgainButton_ = nullptr;
    Gtk::Popover* parentPopover_ = nullptr;
    std::optional<std::string> onceID_;
};

} // namespace lumeris
