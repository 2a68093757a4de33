#include "ui/OnceHints.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

bool OnceHints::isSuppressed(std::string_view hintId) const {
    return settings_.boolValue(SettingKeys::tooltipOnceKey(hintId), false);
}

void OnceHints::dontShowAgain(std::string_view hintId) {
    settings_.set(SettingKeys::tooltipOnceKey(hintId), true);
}

} // namespace lumeris
