#pragma once

namespace lumeris {

// Distances from the four edges of an image (pixels, unless a caller says otherwise).
struct EdgeInsets {
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;

    bool operator==(const EdgeInsets&) const = default;
};

} // namespace lumeris
