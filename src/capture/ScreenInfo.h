#pragma once

namespace lumeris {

// One monitor in the desktop's layout coordinates (points, origin at the top-left of the
// layout, y growing downwards).
struct ScreenInfo {
    struct Frame {
        double x = 0;
        double y = 0;
        double width = 0;
        double height = 0;

        bool contains(double px, double py) const {
            return px >= x && px < x + width && py >= y && py < y + height;
        }
        bool operator==(const Frame&) const = default;
    };

    Frame frame;
    // The frame without panels and docks: where windows are placed.
    Frame visibleFrame;
    double scaleFactor = 1.0;

    bool operator==(const ScreenInfo&) const = default;
};

} // namespace lumeris
