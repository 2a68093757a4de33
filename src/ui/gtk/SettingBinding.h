#pragma once

#include "settings/SettingKey.h"
#include "settings/SettingsStore.h"

#include <functional>
#include <gtkmm/range.h>
#include <gtkmm/togglebutton.h>
#include <memory>

namespace lumeris {

// Keeps one control and one setting in step. A change the user makes writes the setting, then
// runs `changed`; a setting written elsewhere moves the control without running it, so neither
// side echoes back to the other.
class SettingBinding {
public:
    using Changed = std::function<void()>;

    // A slider over a number setting, in whole steps.
    static std::unique_ptr<SettingBinding> range(Gtk::Range& range, SettingsStore& settings,
                                                 const SettingKey& key, Changed changed);
    // A checkbox over a boolean setting.
    static std::unique_ptr<SettingBinding> toggle(Gtk::ToggleButton& toggle,
                                                  SettingsStore& settings, const SettingKey& key,
                                                  Changed changed);

    ~SettingBinding();
    SettingBinding(const SettingBinding&) = delete;
    SettingBinding& operator=(const SettingBinding&) = delete;

    // Moves the control without writing the setting or running `changed`.
    void show(double value);

private:
    SettingBinding(SettingsStore& settings, const SettingKey& key, Changed changed);
    void controlChanged();
    void settingChanged();

    SettingsStore& settings_;
    SettingKey key_;
    Changed changed_;
    Gtk::Range* range_ = nullptr;
    Gtk::ToggleButton* toggle_ = nullptr;
    bool quiet_ = false;
    sigc::connection connection_;
    SettingsStore::Subscription subscription_;
};

} // namespace lumeris
