#include "editor/CompositionValues.h"

#include "app/Logger.h"
#include "app/SettingsStore.h"
#include "presets/WatermarkParser.h"

#include <cmath>

namespace lumeris {

namespace {

int sliderValue(const SettingsStore& settings, const char* key, double fallback) {
    double value = settings.doubleValue(key, fallback);
    return std::isfinite(value) ? static_cast<int>(std::lround(value)) : static_cast<int>(fallback);
}

} // namespace

void CompositionValues::updateValuesFromControls(
    const SettingsStore& settings, std::chrono::system_clock::time_point capturedDate) {
    paddingValue = sliderValue(settings, "settings.padding", 100);
    insetValue = insetEnabled ? sliderValue(settings, "settings.inset", 20) : 0;
    tiltXValue = sliderValue(settings, "settings.tilt-x", 15);
    tiltYValue = sliderValue(settings, "settings.tilt-y", 15);
    borderRadiusValue = useWindowBorder ? WINDOW_BORDER_RADIUS
                                        : sliderValue(settings, "settings.border-radius", 20);
    shadowValue = sliderValue(settings, "settings.shadow", 25);
    watermarkText =
        WatermarkParser::parse(settings.string("settings.watermark-text", ""), capturedDate);
    backgroundID = settings.string("settings.background-id", "");
    customBackgroundPath = settings.string("settings.custom-background-path", "");
    ratioValue = settings.string("settings.ratio", "");
    redactColor = settings.string("settings.redact-color", "");
    autoRedactEnabled = settings.boolValue("settings.auto-redact", false);
    insetBalanceValue = settings.boolValue("settings.inset-balance", false);
    isWatermarkEnabled = settings.boolValue("settings.show-watermark", true);
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
