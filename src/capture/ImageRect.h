#pragma once

namespace lumeris {

// A rectangle in points with its origin at the lower-left corner, y growing upwards.
struct ImageRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool operator==(const ImageRect&) const = default;
};

} // namespace lumeris
