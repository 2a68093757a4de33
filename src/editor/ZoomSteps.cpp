#include "editor/ZoomSteps.h"

#include <algorithm>
#include <cmath>

namespace lumeris {

std::string ZoomSteps::title(double magnification) {
    // Rounded: 0.1 steps add up to values such as 1.2999999.
    return std::to_string(static_cast<long long>(std::lround(magnification * 100))) + "%";
}

double ZoomSteps::fitMagnification(double canvasWidth, double canvasHeight, double visibleWidth,
                                   double visibleHeight, bool allowScaleUp) {
    if (canvasWidth <= 0 || canvasHeight <= 0 || visibleWidth <= 0 || visibleHeight <= 0) {
        return ACTUAL;
    }
    const double fit = std::min(visibleWidth / canvasWidth, visibleHeight / canvasHeight);
    return allowScaleUp ? fit : std::min(fit, ACTUAL);
}

} // namespace lumeris
