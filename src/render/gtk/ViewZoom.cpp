#include "render/gtk/ViewZoom.h"

#include <algorithm>
#include <cmath>

namespace lumeris {

void ViewZoom::setCanvasSize(int width, int height) {
    canvasWidth_ = std::max(1, width);
    canvasHeight_ = std::max(1, height);
    apply();
}

void ViewZoom::setZoom(double zoom) {
    zoom_ = zoom > 0 ? zoom : 1.0;
    apply();
}

void ViewZoom::hold() {
    ++holds_;
    apply();
}

void ViewZoom::release() {
    holds_ = std::max(0, holds_ - 1);
    apply();
}

void ViewZoom::apply() {
    const double shown = held() ? 1.0 : zoom_;
    if (webkit_web_view_get_zoom_level(view_) != shown) {
        webkit_web_view_set_zoom_level(view_, shown);
    }
    if (canvasWidth_ > 0) {
        // Not stretched by a larger parent: the view is exactly the zoomed canvas.
        GtkWidget* widget = GTK_WIDGET(view_);
        gtk_widget_set_halign(widget, GTK_ALIGN_CENTER);
        gtk_widget_set_valign(widget, GTK_ALIGN_CENTER);
        gtk_widget_set_size_request(widget, static_cast<int>(std::lround(canvasWidth_ * shown)),
                                    static_cast<int>(std::lround(canvasHeight_ * shown)));
    }
}

} // namespace lumeris
