#include "platform/GdkScreenLocator.h"

#include <gdk/gdk.h>

namespace lumeris {

namespace {

ScreenInfo describe(GdkMonitor* monitor) {
    GdkRectangle geometry;
    GdkRectangle workarea;
    gdk_monitor_get_geometry(monitor, &geometry);
    gdk_monitor_get_workarea(monitor, &workarea);
    ScreenInfo screen;
    screen.frame = {double(geometry.x), double(geometry.y), double(geometry.width),
                    double(geometry.height)};
    screen.visibleFrame = {double(workarea.x), double(workarea.y), double(workarea.width),
                           double(workarea.height)};
    screen.scaleFactor = gdk_monitor_get_scale_factor(monitor);
    return screen;
}

} // namespace

std::vector<ScreenInfo> GdkScreenLocator::screens() {
    std::vector<ScreenInfo> result;
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr) {
        return result;
    }
    const int count = gdk_display_get_n_monitors(display);
    for (int i = 0; i < count; ++i) {
        if (GdkMonitor* monitor = gdk_display_get_monitor(display, i)) {
            result.push_back(describe(monitor));
        }
    }
    return result;
}

std::optional<ScreenInfo> GdkScreenLocator::primaryScreen() {
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr) {
        return std::nullopt;
    }
    // Wayland compositors often name no primary monitor; the first one stands in.
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr && gdk_display_get_n_monitors(display) > 0) {
        monitor = gdk_display_get_monitor(display, 0);
    }
    if (monitor == nullptr) {
        return std::nullopt;
    }
    return describe(monitor);
}

std::optional<std::pair<double, double>> GdkScreenLocator::pointerPosition() {
    GdkDisplay* display = gdk_display_get_default();
    GdkSeat* seat = display != nullptr ? gdk_display_get_default_seat(display) : nullptr;
    GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
    if (pointer == nullptr) {
        return std::nullopt;
    }
    int x = 0;
    int y = 0;
    gdk_device_get_position(pointer, nullptr, &x, &y);
    return std::pair<double, double>(x, y);
}

} // namespace lumeris
