#include "editor/gtk/RedactSettingsViewController.h"

#include "base/ColorText.h"
#include "settings/SettingKeys.h"

#include <gtkmm/label.h>

namespace lumeris {

RedactSettingsViewController::RedactSettingsViewController(SettingsStore& settings,
                                                           Delegate delegate)
    : PopoverContentViewController(Gtk::Builder::create(), box_), settings_(settings),
      delegate_(std::move(delegate)), box_(Gtk::ORIENTATION_VERTICAL, 6) {
    box_.set_margin_start(12);
    box_.set_margin_end(12);
    box_.set_margin_top(10);
    box_.set_margin_bottom(10);

    auto* colorRow = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, 8);
    auto* colorLabel = Gtk::make_managed<Gtk::Label>("Box colour");
    colorLabel->set_xalign(0);
    colorRow->pack_start(*colorLabel, true, true);
    colorRow->pack_start(colorWell_, false, false);
    colorWell_.set_use_alpha(false);
    colorWell_.set_title("Redaction Colour");
    colorWell_.set_rgba(Gdk::RGBA(settings_.string(SettingKeys::REDACT_COLOR, "#000000")));
    colorWell_.signal_color_set().connect([this] {
        const Gdk::RGBA picked = colorWell_.get_rgba();
        const std::string color =
            ColorText::colorHexString(picked.get_red(), picked.get_green(), picked.get_blue());
        settings_.set(SettingKeys::REDACT_COLOR, color);
        if (delegate_.colorChanged) {
            delegate_.colorChanged(color);
        }
    });
    box_.pack_start(*colorRow, false, false);

    auto* heading = Gtk::make_managed<Gtk::Label>("Find and cover");
    heading->set_xalign(0);
    heading->get_style_context()->add_class("dim-label");
    box_.pack_start(*heading, false, false);
    const std::pair<const SettingKey*, const char*> rules[] = {
        {&SettingKeys::AUTO_REDACT_EMAILS, "E-mail addresses"},
        {&SettingKeys::AUTO_REDACT_CREDIT_CARDS, "Card numbers"},
        {&SettingKeys::AUTO_REDACT_IP_ADDRESSES, "IP addresses"},
        {&SettingKeys::AUTO_REDACT_API_KEYS, "API keys"},
    };
    for (const auto& [key, title] : rules) {
        auto& checkbox = *rules_.emplace_back(std::make_unique<Gtk::CheckButton>(title));
        bindings_.push_back(SettingBinding::toggle(checkbox, settings_, *key, [this] {
            if (delegate_.rulesChanged) {
                delegate_.rulesChanged();
            }
        }));
        box_.pack_start(checkbox, false, false);
    }
    box_.show_all();
}

} // namespace lumeris
