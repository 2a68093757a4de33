#pragma once

#include "analysis/BorderAnalysis.h"
#include "base/EdgeInsets.h"
#include "base/LoadedImage.h"
#include "base/RgbaImage.h"

#include <array>
#include <cstdint>
#include <string>

namespace lumeris {

// Finds the band of one colour many screenshots carry around their content: its colour, whether
// it clearly dominates the edges, and how far it reaches in from each side. Pure functions of the
// pixels.
class BorderColor {
public:
    using Pixel = std::array<std::uint8_t, 4>; // red, green, blue, alpha

    // Screenshots larger than this many square points are not analysed.
    static constexpr double MAX_AREA = 910000.0;

    struct EdgeColor {
        std::string key; // "#RRGGBBAA"
        Pixel pixel{};   // the representative: the first edge pixel of its group
        bool dominant = false;
        int count = 0;       // the winner's count
        int secondCount = 0; // the runner-up's count, 0 when there is none
    };

    // The whole analysis of a screenshot of `pointWidth` × `pointHeight` points.
    static BorderAnalysis analyze(const RgbaImage& image, double pointWidth, double pointHeight);
    // The same for a loaded screenshot, sized by its points.
    static BorderAnalysis getBorderColor(const LoadedImage& image);

    static bool hasTransparentCorners(const RgbaImage& image);
    // Needs a non-empty image.
    static EdgeColor dominantEdgeColor(const RgbaImage& image);
    static EdgeInsets edgeInsets(const RgbaImage& image, const Pixel& color);

    static std::string key(const Pixel& pixel);
};

} // namespace lumeris
