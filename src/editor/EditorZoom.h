#pragma once

#include <string>

namespace lumeris {

class EditorView;

// The zoom menu of the editor: magnification steps of the renderer's scroll view, fitting the
// canvas, and the zoom button's title.
class EditorZoom {
public:
    static constexpr double STEP = 0.1;
    static constexpr double HALF = 0.5;
    static constexpr double ACTUAL = 1.0;
    static constexpr double DOUBLE = 2.0;

    explicit EditorZoom(EditorView& view) : view_(view) {}

    // The canvas size in points; fitting does nothing before there is one.
    void setCanvas(double width, double height);

    void zoomIn();
    void zoomOut();
    void zoom50() { zoomTo(HALF, false); }
    void resetZoom() { zoomTo(ACTUAL, false); }
    void zoom200() { zoomTo(DOUBLE, false); }
    // The menu item does not allow scaling up; the application menu's command does.
    void zoomToFit(bool allowScaleUp);
    // The scroll view's bounds changed: re-title.
    void boundsChanged();

    // The magnification × 100 as an integer, then "%": "50%", "100%", "130%".
    static std::string title(double magnification);
    // The magnification at which a canvas fits the visible area; above ACTUAL only when scaling
    // up is allowed. ACTUAL for an empty canvas or area.
    static double fitMagnification(double canvasWidth, double canvasHeight, double visibleWidth,
                                   double visibleHeight, bool allowScaleUp);

private:
    void zoomTo(double magnification, bool animated);

    EditorView& view_;
    double canvasWidth_ = 0;
    double canvasHeight_ = 0;
};

} // namespace lumeris
