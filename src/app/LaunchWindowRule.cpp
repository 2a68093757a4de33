#include "app/LaunchWindowRule.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

LaunchWindowRule::AtLaunch LaunchWindowRule::atLaunch(bool hideWindowAtLaunch, bool hideDockIcon) {
    if (!hideWindowAtLaunch) {
        return AtLaunch::ShowPreferences;
    }
    return hideDockIcon ? AtLaunch::Accessory : AtLaunch::Unchanged;
}

LaunchWindowRule::AtLaunch LaunchWindowRule::atLaunch(const SettingsStore& settings) {
    return atLaunch(settings.boolValue(SettingKeys::HIDE_WINDOW_AT_LAUNCH, false),
                    settings.boolValue(SettingKeys::HIDE_DOCK_ICON, true));
}

} // namespace lumeris
