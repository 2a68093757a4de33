#include "editor/gtk/RatioPicker.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

RatioPicker::RatioPicker(SettingsStore& settings, ProblemCheck problem,
                         std::function<void()> applied)
    : PopoverContentViewController(Gtk::Builder::create(), box_), settings_(settings),
      problem_(std::move(problem)), applied_(std::move(applied)),
      box_(Gtk::ORIENTATION_VERTICAL, 8),
      label_("A ratio such as 16:10, or an exact size such as 1200x675"),
      row_(Gtk::ORIENTATION_HORIZONTAL, 6), applyButton_("Apply") {
    box_.set_margin_start(12);
    box_.set_margin_end(12);
    box_.set_margin_top(10);
    box_.set_margin_bottom(10);
    label_.set_line_wrap(true);
    label_.set_max_width_chars(28);
    label_.set_xalign(0);
    label_.get_style_context()->add_class("dim-label");
    problemLabel_.set_line_wrap(true);
    problemLabel_.set_max_width_chars(28);
    problemLabel_.set_xalign(0);
    problemLabel_.get_style_context()->add_class("error");
    problemLabel_.set_no_show_all(true);
    ratioTextField_.signal_changed().connect([this] { problemLabel_.hide(); });
    ratioTextField_.set_text(settings_.string(SettingKeys::RATIO, "auto"));
    ratioTextField_.set_width_chars(12);
    ratioTextField_.set_activates_default(false);
    ratioTextField_.signal_activate().connect([this] { apply(); });
    applyButton_.get_style_context()->add_class("suggested-action");
    applyButton_.signal_clicked().connect([this] { apply(); });
    row_.pack_start(ratioTextField_, true, true);
    row_.pack_start(applyButton_, false, false);
    box_.pack_start(label_, false, false);
    box_.pack_start(row_, false, false);
    box_.pack_start(problemLabel_, false, false);
    box_.show_all();
}

void RatioPicker::apply() {
    std::string text = ratioTextField_.get_text();
    if (auto problem = problem_ ? problem_(text) : std::nullopt) {
        problemLabel_.set_text(*problem);
        problemLabel_.show();
        ratioTextField_.grab_focus();
        return;
    }
    settings_.set(SettingKeys::RATIO, text.empty() ? std::string("auto") : text);
    closePopover();
    if (applied_) {
        applied_();
    }
}

} // namespace lumeris
