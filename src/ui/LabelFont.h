#pragma once

#include <string>

namespace lumeris {

// A font by family and size in points; an empty family means the desktop's interface font.
struct LabelFont {
    std::string family;
    double size = 0;

    static LabelFont system(double size) { return {{}, size}; }

    bool operator==(const LabelFont&) const = default;
};

} // namespace lumeris
