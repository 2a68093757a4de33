#pragma once

#include "ui/gtk/PopoverContentViewController.h"
#include "ui/gtk/SettingBinding.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/colorbutton.h>
#include <memory>
#include <string>
#include <vector>

namespace lumeris {

// What auto-redaction covers and in which colour: the box colour and the four rules, bound to
// their settings.
class RedactSettingsViewController : public PopoverContentViewController {
public:
    static constexpr int WIDTH = 300;
    static constexpr int HEIGHT = 170;

    struct Delegate {
        // "#RRGGBB", already stored.
        std::function<void(const std::string&)> colorChanged;
        std::function<void()> rulesChanged;
    };

    RedactSettingsViewController(SettingsStore& settings, Delegate delegate);

    Gtk::ColorButton& colorWell() { return colorWell_; }
    Gtk::CheckButton& ruleCheckbox(std::size_t index) { return *rules_.at(index); }

private:
    SettingsStore& settings_;
    Delegate delegate_;
    Gtk::Box box_;
    Gtk::ColorButton colorWell_;
    std::vector<std::unique_ptr<Gtk::CheckButton>> rules_;
    std::vector<std::unique_ptr<SettingBinding>> bindings_;
};

} // namespace lumeris
