#pragma once

#include <limits>
#include <optional>
#include <string>

namespace lumeris {

class SettingsStore;

// Everything the style sheet is built from: the editor's values at the moment of a refresh and
// the four background colour settings. Fields are in the order the editor hands them over.
struct StyleSheetInputs {
    int borderRadius = 0; // points
    int padding = 0;      // points
    int inset = 0;        // points
    int tiltX = 15;       // 15 is no rotation
    int tiltY = 15;
    int shadow = 0;            // 0 to 100
    std::string watermarkText; // empty when the watermark is off
    std::string backgroundID;
    std::string ratio;
    bool insetEnabled = false;
    std::optional<std::string> borderColor;
    std::string redactColor;
    std::optional<std::string> desktopBackgroundURL;
    std::optional<std::string> customBackgroundURL;
    std::string bgColorOption = "plain";
    std::string plainColor = "#ffffff";
    std::string gradientStart = "#ffffff";
    std::string gradientStop = "#ffffff";
    double imageWidth = 0;  // points
    double imageHeight = 0; // points
    // The backing scale of a pre-blurred shadow picture; 0 keeps `box-shadow`.
    int shadowPictureScale = 0;
    // The largest picture (side, device pixels) made on the spot rather than `box-shadow`; one
    // made before serves whatever its size.
    int shadowPictureMaxSide = std::numeric_limits<int>::max();

    // Fills the four colour fields from their settings, with the same fallbacks as above.
    void readColorSettings(const SettingsStore& settings);
};

} // namespace lumeris
