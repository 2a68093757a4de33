#pragma once

#include "analysis/BorderAnalysis.h"
#include "base/EdgeInsets.h"

#include <chrono>
#include <optional>
#include <string>

namespace lumeris {

class SettingsStore;

// The look of one editing session: the values the style sheet and the document are built from,
// plus what the border analysis found.
struct CompositionValues {
    // Window captures get this radius instead of the slider's until the slider is moved.
    static constexpr int WINDOW_BORDER_RADIUS = 12;

    int paddingValue = 100;
    int insetValue = 20;
    int borderRadiusValue = 20;
    int shadowValue = 25;
    int tiltXValue = 0;
    int tiltYValue = 0;
    std::string watermarkText;
    bool isWatermarkEnabled = true;
    std::string backgroundID;
    std::string customBackgroundPath;
    std::string ratioValue = "auto";
    std::string redactColor = "#000000";
    bool autoRedactEnabled = true;
    bool insetBalanceValue = true;
    bool insetEnabled = true;
    bool insetBackgroundDetected = false;
    bool useWindowBorder = false;
    std::optional<EdgeInsets> edgeInsetsValue;
    std::optional<std::string> borderColor;
    double imageScale = 1.0;

    // Re-reads every value from the settings the editor's controls are bound to; the watermark is
    // expanded with the capture time.
    void updateValuesFromControls(const SettingsStore& settings,
                                  std::chrono::system_clock::time_point capturedDate);

    // Takes over what the border analysis of the loaded screenshot found.
    void applyBorderAnalysis(const BorderAnalysis& analysis, double scale);

    // The watermark as drawn: empty while it is switched off.
    std::string shownWatermark() const { return isWatermarkEnabled ? watermarkText : ""; }
};

} // namespace lumeris
