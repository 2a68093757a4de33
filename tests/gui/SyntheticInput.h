#pragma once

#include "render/gtk/CustomWKWebView.h"

#include <gdk/gdk.h>
#include <string>

namespace lumeris::testing {

// Real GDK pointer and key events delivered to a renderer view, as a user's would be. Each call
// returns once the document has seen the event (a listener it installs reports what arrived),
// so the next call or script sees its effect.
class SyntheticInput {
public:
    explicit SyntheticInput(CustomWKWebView& view);

    // Points are in view coordinates (canvas points at zoom 1).
    void press(double x, double y);
    void moveTo(double x, double y);
    void release(double x, double y);
    void click(double x, double y);
    // Press, move in steps, release.
    void drag(double fromX, double fromY, double toX, double toY);

    // One key with modifiers (GDK_CONTROL_MASK, GDK_SHIFT_MASK).
    void key(guint keyval, GdkModifierType modifiers = GdkModifierType(0));
    // Every character of `text` as a key press.
    void type(const std::string& text);

private:
    void send(GdkEvent* event);
    void sendAndAwait(GdkEvent* event, const char* type, bool await);
    void pointer(GdkEventType type, double x, double y, bool await);
    // How many events of `type` the document has seen.
    int seen(const char* type);

    CustomWKWebView& view_;
    bool buttonDown_ = false;
    double lastX_ = -1;
    double lastY_ = -1;
};

} // namespace lumeris::testing
