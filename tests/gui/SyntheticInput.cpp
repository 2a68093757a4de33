#include "gui/SyntheticInput.h"

#include "gui/RendererTestSupport.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace lumeris::testing {

namespace {

// Counts in the capture phase, before any handler of the document can stop the event.
constexpr const char* COUNTER = R"JS((function () {
  if (window.__inputSeen) { return true; }
  window.__inputSeen = { mousedown: 0, mouseup: 0, mousemove: 0, keyup: 0 };
  ["mousedown", "mouseup", "mousemove", "keyup"].forEach(function (type) {
    window.addEventListener(type, function () { window.__inputSeen[type]++; }, true);
  });
  return true;
})())JS";

GdkSeat* seat() {
    return gdk_display_get_default_seat(gdk_display_get_default());
}

} // namespace

SyntheticInput::SyntheticInput(CustomWKWebView& view) : view_(view) {
    // Key events reach the page only while its view has the focus of an active window.
    GtkWidget* widget = view_.widget();
    gtk_widget_grab_focus(widget);
    GdkEvent* focus = gdk_event_new(GDK_FOCUS_CHANGE);
    focus->focus_change.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    focus->focus_change.in = TRUE;
    focus->focus_change.send_event = TRUE;
    gtk_widget_send_focus_change(widget, focus);
    gdk_event_free(focus);
}

int SyntheticInput::seen(const char* type) {
    const auto answer = evaluate(view_, std::string(COUNTER) + ";window.__inputSeen." + type);
    return answer ? std::atoi(answer->c_str()) : -1;
}

// Sends an event and runs the main loop until the document has counted one more of `type`.
void SyntheticInput::sendAndAwait(GdkEvent* event, const char* type, bool await) {
    const int before = seen(type);
    send(event);
    if (await) {
        EXPECT_TRUE(runUntil([&] { return seen(type) > before; }, 10.0))
            << "the document never saw the " << type;
    }
}

void SyntheticInput::send(GdkEvent* event) {
    gtk_widget_event(view_.widget(), event);
    gdk_event_free(event);
}

void SyntheticInput::pointer(GdkEventType type, double x, double y, bool await) {
    GdkWindow* window = gtk_widget_get_window(view_.widget());
    GdkEvent* event = gdk_event_new(type);
    gdk_event_set_device(event, gdk_seat_get_pointer(seat()));
    const auto state =
        GdkModifierType(buttonDown_ && type != GDK_BUTTON_PRESS ? GDK_BUTTON1_MASK : 0);
    const auto place = [&](auto& e) {
        e.window = GDK_WINDOW(g_object_ref(window));
        e.x = e.x_root = x;
        e.y = e.y_root = y;
        e.state = state;
        e.time = GDK_CURRENT_TIME;
    };
    if (type == GDK_MOTION_NOTIFY) {
        place(event->motion);
    } else {
        place(event->button);
        event->button.button = 1;
    }
    const char* domType = type == GDK_MOTION_NOTIFY  ? "mousemove"
                          : type == GDK_BUTTON_PRESS ? "mousedown"
                                                     : "mouseup";
    sendAndAwait(event, domType, await);
}

void SyntheticInput::press(double x, double y) {
    moveTo(x, y);
    buttonDown_ = true;
    pointer(GDK_BUTTON_PRESS, x, y, true);
}

void SyntheticInput::moveTo(double x, double y) {
    // A motion to where the pointer already is need not make a DOM event.
    const bool moved = x != lastX_ || y != lastY_;
    lastX_ = x;
    lastY_ = y;
    pointer(GDK_MOTION_NOTIFY, x, y, moved);
}

void SyntheticInput::release(double x, double y) {
    pointer(GDK_BUTTON_RELEASE, x, y, true);
    buttonDown_ = false;
}

void SyntheticInput::click(double x, double y) {
    press(x, y);
    release(x, y);
}

void SyntheticInput::drag(double fromX, double fromY, double toX, double toY) {
    constexpr int STEPS = 4;
    press(fromX, fromY);
    for (int i = 1; i <= STEPS; ++i) {
        moveTo(fromX + (toX - fromX) * i / STEPS, fromY + (toY - fromY) * i / STEPS);
    }
    release(toX, toY);
}

void SyntheticInput::key(guint keyval, GdkModifierType modifiers) {
    GdkWindow* window = gtk_widget_get_window(view_.widget());
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), keyval,
                                      &keys, &count);
    const guint16 code = count > 0 ? guint16(keys[0].keycode) : 0;
    // Keys on a shifted level of the keymap need shift, as when typed.
    const auto state =
        GdkModifierType(modifiers | (count > 0 && keys[0].level == 1 ? GDK_SHIFT_MASK : 0));
    g_free(keys);
    for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        gdk_event_set_device(event, gdk_seat_get_keyboard(seat()));
        event->key.window = GDK_WINDOW(g_object_ref(window));
        event->key.keyval = keyval;
        event->key.hardware_keycode = code;
        event->key.state = state;
        event->key.time = GDK_CURRENT_TIME;
        if (type == GDK_KEY_PRESS) {
            send(event);
        } else {
            sendAndAwait(event, "keyup", true);
        }
    }
}

void SyntheticInput::type(const std::string& text) {
    const char* at = text.c_str();
    while (*at != '\0') {
        key(gdk_unicode_to_keyval(g_utf8_get_char(at)));
        at = g_utf8_next_char(at);
    }
}

} // namespace lumeris::testing
