#pragma once

#include <string>

namespace lumeris {

// The magnifications of the zoom menu and the zoom button's title.
class ZoomSteps {
public:
    static constexpr double STEP = 0.1;
    static constexpr double HALF = 0.5;
    static constexpr double ACTUAL = 1.0;
    static constexpr double DOUBLE = 2.0;

    // The magnification × 100 as an integer, then "%": "50%", "100%", "130%".
    static std::string title(double magnification);

    // The magnification at which a canvas fits the visible area; above ACTUAL only when scaling
    // up is allowed. ACTUAL for an empty canvas or area.
    static double fitMagnification(double canvasWidth, double canvasHeight, double visibleWidth,
                                   double visibleHeight, bool allowScaleUp);
};

} // namespace lumeris
