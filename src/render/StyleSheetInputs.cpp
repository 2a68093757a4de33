#include "render/StyleSheetInputs.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

void StyleSheetInputs::readColorSettings(const SettingsStore& settings) {
    bgColorOption = settings.string(SettingKeys::BG_COLOR_OPTION, "plain");
    // They go into the style sheet as they are: anything but a colour falls back.
    auto colour = [&settings](const SettingKey& key) {
        std::string text = settings.string(key, "#ffffff");
        return SettingKeys::isColour(text) ? text : std::string("#ffffff");
    };
    plainColor = colour(SettingKeys::BG_COLOR_PLAIN);
    gradientStart = colour(SettingKeys::BG_COLOR_GRADIENT_START);
    gradientStop = colour(SettingKeys::BG_COLOR_GRADIENT_STOP);
}

} // namespace lumeris
