#pragma once

#include "ui/gtk/PopoverContentViewController.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>

namespace lumeris {

class SettingsStore;

// The custom ratio: a text field holding "settings.ratio" ("16:10", "1200x675" or "auto") and
// an Apply button that stores it and tells the editor.
class RatioPicker : public PopoverContentViewController {
public:
    static constexpr int WIDTH = 246;
    static constexpr int HEIGHT = 111;

    RatioPicker(SettingsStore& settings, std::function<void()> applied);

    Gtk::Entry& ratioTextField() { return ratioTextField_; }
    void apply();

private:
    SettingsStore& settings_;
    std::function<void()> applied_;
    Gtk::Box box_;
    Gtk::Label label_;
    Gtk::Box row_;
    Gtk::Entry ratioTextField_;
    Gtk::Button applyButton_;
};

} // namespace lumeris
