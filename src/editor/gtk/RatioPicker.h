#pragma once

#include "ui/gtk/PopoverContentViewController.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <optional>
#include <string>

namespace lumeris {

class SettingsStore;

// The custom ratio: a text field holding "settings.ratio" ("16:10", "1200x675" or "auto") and
// an Apply button that stores it and tells the editor, or says why it cannot and stays open.
class RatioPicker : public PopoverContentViewController {
public:
    static constexpr int WIDTH = 246;
    static constexpr int HEIGHT = 111;

    using ProblemCheck = std::function<std::optional<std::string>(const std::string& text)>;

    RatioPicker(SettingsStore& settings, ProblemCheck problem, std::function<void()> applied);

    Gtk::Entry& ratioTextField() { return ratioTextField_; }
    void apply();

private:
    SettingsStore& settings_;
    ProblemCheck problem_;
    std::function<void()> applied_;
    Gtk::Box box_;
    Gtk::Label label_;
    Gtk::Label problemLabel_;
    Gtk::Box row_;
    Gtk::Entry ratioTextField_;
    Gtk::Button applyButton_;
};

} // namespace lumeris
