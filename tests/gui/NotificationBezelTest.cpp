#include "ui/gtk/NotificationBezel.h"

#include "gui/PrivateDisplay.h"
#include "gui/RendererTestSupport.h"
#include "ui/BezelDelegate.h"
#include "ui/BezelGeometry.h"
#include "ui/BezelIcon.h"

#include <gtest/gtest.h>
#include <gtkmm/window.h>

// Xlib macros break gtkmm headers included after them.
#include <gdk/gdkx.h>

using namespace lumeris;
using lumeris::testing::runUntil;

namespace {

Rect bezelFrame() {
    GdkRectangle geometry;
    gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &geometry);
    EXPECT_EQ(gdk_display_get_n_monitors(gdk_display_get_default()), 1);
    return BezelGeometry::frame(
        {{double(geometry.x), double(geometry.y), double(geometry.width), double(geometry.height)}},
        0);
}

void pump(double seconds) {
    const gint64 end = g_get_monotonic_time() + static_cast<gint64>(seconds * 1e6);
    runUntil([end] { return g_get_monotonic_time() > end; }, seconds + 1);
}

// 0xRRGGBB of the screen at (x, y).
std::uint32_t screenPixel(int x, int y) {
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), x, y, 1, 1);
    const guchar* p = gdk_pixbuf_read_pixels(shot);
    const std::uint32_t rgb = (p[0] << 16) | (p[1] << 8) | p[2];
    g_object_unref(shot);
    return rgb;
}

} // namespace

TEST(NotificationBezel, ShortLivedBezelGoesAwayAndCallsBackOnce) {
    int callbacks = 0;
    BezelParameters parameters{.messageText = "File Saved",
                               .icon = BezelIcon::named(BezelIcon::CHECK),
                               .timeToLive = BezelTimeToLive::exactly(0.2),
                               .fadeOutAnimationDuration = 0.05};
    const auto before = NotificationBezel::bezelsOnScreen();
    auto delegate = NotificationBezel::show(parameters, [&callbacks] { ++callbacks; });
    EXPECT_EQ(NotificationBezel::bezelsOnScreen(), before + 1);
    pump(0.1);
    delegate.lock()->requestHide();
    if (auto alive = delegate.lock()) {
        alive->requestHide();
    }
    EXPECT_TRUE(runUntil([&] { return NotificationBezel::bezelsOnScreen() == before; }, 1.0));
    pump(0.3);
    EXPECT_EQ(callbacks, 1);
    EXPECT_TRUE(delegate.expired()) << "the registry released the window and its delegate";
}

TEST(NotificationBezel, NeitherTakesFocusNorCatchesClicks) {
    lumeris::testing::PrivateDisplay display;
    ASSERT_TRUE(display) << display.error();
    const Rect frame = bezelFrame();
    Gtk::Window below;
    below.set_decorated(false);
    below.set_default_size(400, 400);
    below.move(static_cast<int>(frame.x) - 100, static_cast<int>(frame.y) - 100);
    int presses = 0;
    below.add_events(Gdk::BUTTON_PRESS_MASK);
    below.signal_button_press_event().connect([&presses](GdkEventButton*) {
        ++presses;
        return true;
    });
    below.show();
    ASSERT_TRUE(runUntil([&] { return below.get_mapped(); }, 5));
    gdk_window_focus(below.get_window()->gobj(), GDK_CURRENT_TIME);
    ASSERT_TRUE(runUntil([&] { return below.is_active(); }, 5));

    auto delegate = NotificationBezel::show(
        {.messageText = "Image Copied", .timeToLive = BezelTimeToLive::forever()});
    pump(0.3);
    // Opaque and dark, as there is no compositor under Xvfb.
    EXPECT_EQ(screenPixel(static_cast<int>(frame.x) + 30, static_cast<int>(frame.y) + 30), 0u);
    EXPECT_TRUE(below.is_active());
    Window focused = 0;
    int revert = 0;
    XGetInputFocus(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), &focused, &revert);
    EXPECT_EQ(focused, GDK_WINDOW_XID(below.get_window()->gobj()));

    const std::string click = "DISPLAY=" + display.name() + " xdotool mousemove " +
                              std::to_string(int(frame.x) + 100) + " " +
                              std::to_string(int(frame.y) + 100) + " click 1";
    ASSERT_EQ(std::system(click.c_str()), 0) << click;
    EXPECT_TRUE(runUntil([&] { return presses == 1; }, 5)) << "the click went to the window below";

    delegate.lock()->requestHide();
    EXPECT_TRUE(runUntil([] { return NotificationBezel::bezelsOnScreen() == 0; }, 2));
    below.hide();
    pump(0.1);
}
