#pragma once

namespace lumeris {

// A colour with straight alpha, components from 0 to 1.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static constexpr Color white(double white, double alpha = 1.0) {
        return {white, white, white, alpha};
    }
    constexpr Color withAlpha(double newAlpha) const { return {red, green, blue, newAlpha}; }

    bool operator==(const Color&) const = default;
};

} // namespace lumeris
