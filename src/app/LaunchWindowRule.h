#pragma once

namespace lumeris {

class SettingsStore;

// Which window the application shows when it starts, and when it is started again while it runs.
class LaunchWindowRule {
public:
    enum class AtLaunch {
        ShowPreferences,
        // No window, and out of the task switcher until one opens.
        Accessory,
        // No window; the task switcher is left as it is.
        Unchanged,
    };

    enum class OnReopen { BringWindowForward, ShowPreferences };

    // From "settings.hide-window-at-launch" and "settings.hide-dock-icon".
    static AtLaunch atLaunch(bool hideWindowAtLaunch, bool hideDockIcon);
    static AtLaunch atLaunch(const SettingsStore& settings);

    static OnReopen onReopen(bool anyWindowVisible) {
        return anyWindowVisible ? OnReopen::BringWindowForward : OnReopen::ShowPreferences;
    }
};

} // namespace lumeris
