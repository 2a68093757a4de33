#include "ui/gtk/SettingBinding.h"

#include <cmath>

namespace lumeris {

SettingBinding::SettingBinding(SettingsStore& settings, const SettingKey& key, Changed changed)
    : settings_(settings), key_(key), changed_(std::move(changed)) {}

SettingBinding::~SettingBinding() {
    connection_.disconnect();
}

std::unique_ptr<SettingBinding> SettingBinding::range(Gtk::Range& range, SettingsStore& settings,
                                                      const SettingKey& key, Changed changed) {
    std::unique_ptr<SettingBinding> binding(new SettingBinding(settings, key, std::move(changed)));
    binding->range_ = &range;
    // The key's table owns the range, so the slider, the number entry and the stored value agree.
    if (key.range) {
        range.set_range(key.range->minimum, key.range->maximum);
    }
    binding->show(settings.doubleValue(key, range.get_value()));
    binding->connection_ = range.signal_value_changed().connect(
        sigc::mem_fun(*binding, &SettingBinding::controlChanged));
    binding->subscription_ =
        settings.observe(key, [raw = binding.get()](const std::string&) { raw->settingChanged(); });
    return binding;
}

std::unique_ptr<SettingBinding> SettingBinding::toggle(Gtk::ToggleButton& toggle,
                                                       SettingsStore& settings,
                                                       const SettingKey& key, Changed changed) {
    std::unique_ptr<SettingBinding> binding(new SettingBinding(settings, key, std::move(changed)));
    binding->toggle_ = &toggle;
    binding->show(settings.boolValue(key, toggle.get_active()) ? 1 : 0);
    binding->connection_ =
        toggle.signal_toggled().connect(sigc::mem_fun(*binding, &SettingBinding::controlChanged));
    binding->subscription_ =
        settings.observe(key, [raw = binding.get()](const std::string&) { raw->settingChanged(); });
    return binding;
}

void SettingBinding::show(double value) {
    quiet_ = true;
    if (range_ != nullptr) {
        range_->set_value(std::round(value));
    } else {
        toggle_->set_active(value != 0);
    }
    quiet_ = false;
}

void SettingBinding::controlChanged() {
    if (quiet_) {
        return;
    }
    quiet_ = true;
    if (range_ != nullptr) {
        // Whole steps only: a drag passes through fractions the composition cannot use.
        const double value = std::round(range_->get_value());
        if (settings_.doubleValue(key_, value - 1) == value) {
            quiet_ = false;
            return;
        }
        settings_.set(key_, value);
    } else {
        settings_.set(key_, toggle_->get_active());
    }
    quiet_ = false;
    if (changed_) {
        changed_();
    }
}

void SettingBinding::settingChanged() {
    if (quiet_) {
        return;
    }
    if (range_ != nullptr) {
        show(settings_.doubleValue(key_, range_->get_value()));
    } else {
        show(settings_.boolValue(key_, toggle_->get_active()) ? 1 : 0);
    }
}

} // namespace lumeris
