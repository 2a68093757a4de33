#include "render/StyleSheetInputs.h"

#include "app/SettingsStore.h"

namespace lumeris {

void StyleSheetInputs::readColorSettings(const SettingsStore& settings) {
    bgColorOption = settings.string("settings.bg-color.option", "plain");
    plainColor = settings.string("settings.bg-color.plain", "#ffffff");
    gradientStart = settings.string("settings.bg-color.gradient-start", "#ffffff");
    gradientStop = settings.string("settings.bg-color.gradient-stop", "#ffffff");
}

} // namespace lumeris
