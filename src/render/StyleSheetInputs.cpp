#include "render/StyleSheetInputs.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

void StyleSheetInputs::readColorSettings(const SettingsStore& settings) {
    bgColorOption = settings.string(SettingKeys::BG_COLOR_OPTION, "plain");
    plainColor = settings.string(SettingKeys::BG_COLOR_PLAIN, "#ffffff");
    gradientStart = settings.string(SettingKeys::BG_COLOR_GRADIENT_START, "#ffffff");
    gradientStop = settings.string(SettingKeys::BG_COLOR_GRADIENT_STOP, "#ffffff");
}

} // namespace lumeris
