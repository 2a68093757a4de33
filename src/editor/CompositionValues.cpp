#include "editor/CompositionValues.h"

#include "base/Logger.h"
#include "presets/WatermarkParser.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <cmath>

namespace lumeris {

namespace {

// A stored value outside the slider's range (an edited settings file) is read as the slider
// would show it.
int sliderValue(const SettingsStore& settings, const SettingKey& key, double fallback) {
    double value = settings.doubleValue(key, fallback);
    if (!std::isfinite(value)) {
        value = fallback;
    }
    return static_cast<int>(std::lround(key.range ? key.range->clamp(value) : value));
}

} // namespace

void CompositionValues::updateValuesFromControls(
    const SettingsStore& settings, std::chrono::system_clock::time_point capturedDate) {
    paddingValue = sliderValue(settings, SettingKeys::PADDING, 100);
    insetValue = insetEnabled ? sliderValue(settings, SettingKeys::INSET, 20) : 0;
    tiltXValue = sliderValue(settings, SettingKeys::TILT_X, 15);
    tiltYValue = sliderValue(settings, SettingKeys::TILT_Y, 15);
    borderRadiusValue = useWindowBorder ? WINDOW_BORDER_RADIUS
                                        : sliderValue(settings, SettingKeys::BORDER_RADIUS, 20);
    shadowValue = sliderValue(settings, SettingKeys::SHADOW, 25);
    watermarkText =
        WatermarkParser::parse(settings.string(SettingKeys::WATERMARK_TEXT, ""), capturedDate);
    backgroundID = settings.string(SettingKeys::BACKGROUND_ID, "");
    customBackgroundPath = settings.string(SettingKeys::CUSTOM_BACKGROUND_PATH, "");
    ratioValue = settings.string(SettingKeys::RATIO, "");
    // A translucent or malformed colour would let the boxes show what they cover: the default.
    redactColor = settings.string(SettingKeys::REDACT_COLOR, "");
    if (!SettingKeys::isColour(redactColor)) {
        redactColor.clear();
    }
    autoRedactEnabled = settings.boolValue(SettingKeys::AUTO_REDACT, false);
    insetBalanceValue = settings.boolValue(SettingKeys::INSET_BALANCE, false);
    isWatermarkEnabled = settings.boolValue(SettingKeys::SHOW_WATERMARK, true);
}

void CompositionValues::applyBorderAnalysis(const BorderAnalysis& analysis, double scale) {
    imageScale = scale;
    useWindowBorder = analysis.windowCapture;
    insetBackgroundDetected = analysis.detected;
    borderColor = analysis.color.substr(0, 7);
    if (analysis.detected) {
        edgeInsetsValue = analysis.insets;
        LOG_INFO("border color: {}", *borderColor);
    } else {
        insetEnabled = false;
        insetValue = 0;
        LOG_INFO("no primary border color: {}", analysis.color);
    }
}

} // namespace lumeris
