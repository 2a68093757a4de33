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

TEST(NotificationBezel, ShortLivedBezelGoesAwayAndCallsBackOnce) {
    int callbacks = 0;
    const auto before = NotificationBezel::bezelsOnScreen();
    auto delegate = NotificationBezel::show({.messageText = "File Saved",
                                             .icon = BezelIcon::named(BezelIcon::CHECK),
                                             .timeToLive = BezelTimeToLive::exactly(0.2),
                                             .fadeOutAnimationDuration = 0.05},
                                            [&callbacks] { ++callbacks; });
    EXPECT_EQ(NotificationBezel::bezelsOnScreen(), before + 1);
    runUntil([] { return false; }, 0.1);
    delegate.lock()->requestHide();
    EXPECT_TRUE(runUntil([&] { return NotificationBezel::bezelsOnScreen() == before; }, 1.0));
    runUntil([] { return false; }, 0.3); // past the time to live
    EXPECT_EQ(callbacks, 1);
    EXPECT_TRUE(delegate.expired()) << "the registry released the window and its delegate";
}

TEST(NotificationBezel, NeitherTakesFocusNorCatchesClicks) {
    lumeris::testing::PrivateDisplay display;
    ASSERT_TRUE(display) << display.error();
    GdkRectangle screen;
    gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &screen);
    const Rect frame = BezelGeometry::frame(
        {{double(screen.x), double(screen.y), double(screen.width), double(screen.height)}}, 0);
    const int x = static_cast<int>(frame.x), y = static_cast<int>(frame.y);
    Gtk::Window below;
    below.set_decorated(false);
    below.set_default_size(400, 400);
    below.move(x - 100, y - 100);
    int presses = 0;
    below.add_events(Gdk::BUTTON_PRESS_MASK);
    below.signal_button_press_event().connect([&presses](GdkEventButton*) { return ++presses; });
    below.show();
    ASSERT_TRUE(runUntil([&] { return below.get_mapped(); }, 5));
    gdk_window_focus(below.get_window()->gobj(), GDK_CURRENT_TIME);
    ASSERT_TRUE(runUntil([&] { return below.is_active(); }, 5));

    auto delegate = NotificationBezel::show(
        {.messageText = "Image Copied", .timeToLive = BezelTimeToLive::forever()});
    runUntil([] { return false; }, 0.3);
    // Opaque and dark, as there is no compositor under Xvfb.
    GdkPixbuf* shot =
        gdk_pixbuf_get_from_window(gdk_get_default_root_window(), x + 30, y + 30, 1, 1);
    const guchar* p = gdk_pixbuf_read_pixels(shot);
    EXPECT_EQ(p[0] | p[1] | p[2], 0);
    g_object_unref(shot);
    Window focused = 0;
    int revert = 0;
    XGetInputFocus(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), &focused, &revert);
    EXPECT_EQ(focused, GDK_WINDOW_XID(below.get_window()->gobj()));

    const std::string click = "DISPLAY=" + display.name() + " xdotool mousemove " +
                              std::to_string(x + 100) + " " + std::to_string(y + 100) + " click 1";
    ASSERT_EQ(std::system(click.c_str()), 0) << click;
    EXPECT_TRUE(runUntil([&] { return presses == 1; }, 5)) << "the click went to the window below";

    delegate.lock()->requestHide();
    EXPECT_TRUE(runUntil([] { return NotificationBezel::bezelsOnScreen() == 0; }, 2));
    below.hide();
    runUntil([] { return false; }, 0.1);
}
