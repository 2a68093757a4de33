#pragma once

namespace lumeris {

// x, y, width, height. Unless a caller says otherwise the origin is the lower-left corner with y
// growing upwards.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double area() const { return width * height; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }

    bool operator==(const Rect&) const = default;
};

} // namespace lumeris
