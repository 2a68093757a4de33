#pragma once

#include "base/EdgeInsets.h"

#include <string>

namespace lumeris {

// What the border-colour analysis found in a screenshot.
struct BorderAnalysis {
    // The dominant edge colour as "#RRGGBBAA", or "#ffffff" when no analysis ran.
    std::string color = "#ffffff";
    // One edge colour clearly dominates.
    bool detected = false;
    // How far the dominant colour reaches in from each side, in pixels; zeros unless detected.
    EdgeInsets insets;
    // All four corners are fully transparent: a capture of a single window.
    bool windowCapture = false;

    bool operator==(const BorderAnalysis&) const = default;
};

} // namespace lumeris
