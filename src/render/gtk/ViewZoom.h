#pragma once

#include <webkit2/webkit2.h>

namespace lumeris {

// The zoom the renderer view is shown at, and its size: the canvas (points) times the zoom.
// Output snapshots must not depend on the zoom, so while a snapshot is taken the view is held at
// zoom 1 and the canvas size, then given back the zoom shown. The view's parent must allocate
// it the size it requests (a GtkFixed, or a window sized to it). Main thread only.
class ViewZoom {
public:
    explicit ViewZoom(WebKitWebView* view) : view_(view) {}

    void setCanvasSize(int width, int height);
    int canvasWidth() const { return canvasWidth_; }
    int canvasHeight() const { return canvasHeight_; }

    // Takes effect at once, or when the last hold ends.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }

    // Holds may overlap (snapshots in flight); the zoom shown comes back with the last release.
    void hold();
    void release();
    bool held() const { return holds_ > 0; }

private:
    void apply();

    WebKitWebView* view_;
    int canvasWidth_ = 0;
    int canvasHeight_ = 0;
    double zoom_ = 1.0;
    int holds_ = 0;
};

} // namespace lumeris
