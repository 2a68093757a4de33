#pragma once

#include <string>

namespace lumeris {

// A font by family and size in points; an empty family means the desktop's interface font.
struct FontSpec {
    std::string family;
    double size = 0;

    static FontSpec system(double size) { return {{}, size}; }

    bool operator==(const FontSpec&) const = default;
};

} // namespace lumeris
