#include "editor/EditorZoom.h"

#include "editor/EditorView.h"

#include <algorithm>
#include <cmath>

namespace lumeris {

void EditorZoom::setCanvas(double width, double height) {
    canvasWidth_ = width;
    canvasHeight_ = height;
}

void EditorZoom::zoomTo(double magnification, bool animated) {
    view_.setMagnification(magnification, animated);
    view_.setZoomTitle(title(magnification));
}

void EditorZoom::zoomIn() {
    zoomTo(view_.magnification() + STEP, true);
}

void EditorZoom::zoomOut() {
    zoomTo(view_.magnification() - STEP, true);
}

void EditorZoom::zoomToFit(bool allowScaleUp) {
    if (canvasWidth_ <= 0 || canvasHeight_ <= 0) {
        return;
    }
    zoomTo(fitMagnification(canvasWidth_, canvasHeight_, view_.visibleWidth(),
                            view_.visibleHeight(), allowScaleUp),
           false);
}

void EditorZoom::boundsChanged() {
    view_.setZoomTitle(title(view_.magnification()));
}

std::string EditorZoom::title(double magnification) {
    // Rounded: 0.1 steps add up to values such as 1.2999999.
    return std::to_string(static_cast<long long>(std::lround(magnification * 100))) + "%";
}

double EditorZoom::fitMagnification(double canvasWidth, double canvasHeight, double visibleWidth,
                                    double visibleHeight, bool allowScaleUp) {
    if (canvasWidth <= 0 || canvasHeight <= 0 || visibleWidth <= 0 || visibleHeight <= 0) {
        return ACTUAL;
    }
    const double fit = std::min(visibleWidth / canvasWidth, visibleHeight / canvasHeight);
    return allowScaleUp ? fit : std::min(fit, ACTUAL);
}

} // namespace lumeris
