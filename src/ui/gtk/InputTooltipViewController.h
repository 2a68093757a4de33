#pragma once

#include "ui/NumberEntryDelegate.h"
#include "ui/gtk/PopoverContentViewController.h"

#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <memory>
#include <optional>
#include <string>

namespace lumeris {

class PopoverRegistry;

// The popover for typing an exact number for one of the editor's sliders.
class InputTooltipViewController : public PopoverContentViewController {
public:
    static constexpr int WIDTH = 200;
    static constexpr int HEIGHT = 20;

    // Nothing when the interface file does not load.
    static std::shared_ptr<InputTooltipViewController> create();

    // The editor's label-button action: opens the entry for the field named `identifier` next to
    // `button`, one popover per field for the whole process, filled afresh from the slider on
    // every show. An empty or unknown identifier shows nothing.
    static void showNumberEntry(PopoverRegistry& registry, Gtk::Widget& button,
                                const std::string& identifier,
                                std::weak_ptr<NumberEntryDelegate> delegate);

    Gtk::Label& label() { return *label_; }
    Gtk::Entry& textField() { return *textField_; }
    Gtk::Button& applyButton() { return *applyButton_; }
    const std::optional<std::string>& fieldName() const { return fieldName_; }
    const std::weak_ptr<NumberEntryDelegate>& delegate() const { return delegate_; }
    // The largest value the slider takes (the label says so; typing more is left to the slider).
    int maximum() const { return maximum_; }

    // Fills the entry from the field's slider; false for a name that is no field.
    bool configure(const std::string& fieldName, std::weak_ptr<NumberEntryDelegate> delegate);

    // Sets the slider when the text is an integer; closes the popover either way.
    void applyButtonAction();

private:
    explicit InputTooltipViewController(Glib::RefPtr<Gtk::Builder> builder, Gtk::Widget& view);

    Gtk::Label* label_ = nullptr;
    Gtk::Entry* textField_ = nullptr;
    Gtk::Button* applyButton_ = nullptr;
    std::optional<std::string> fieldName_;
    std::weak_ptr<NumberEntryDelegate> delegate_;
    int maximum_ = 0;
};

} // namespace lumeris
