#pragma once

#include "base/RgbaImage.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>

namespace lumeris {

// The picture's layered shadow blurred once, in C++, into a nine-slice picture the style sheet
// draws with `border-image`: browsers paint `box-shadow` blur again on every paint, which for
// six wide layers is most of the page's painting. Blurred as WebKit blurs shadows (three box
// passes approximating each Gaussian), with the box itself cut out as `box-shadow` clips it.
class ShadowPicture {
public:
    // Pictures kept in the folder, the least recently used going first: dragging the editor's
    // sliders makes one for every strength and radius passed.
    static constexpr std::size_t KEPT_PICTURES = 64;

    struct Layer {
        double offset; // downwards, CSS pixels
        double blur;   // CSS blur radius
    };
    // The six layers and their shared opacity for a shadow strength of 0 to 100.
    static std::array<Layer, 6> layers(int shadow);
    static double alpha(int shadow);

    // Where the picture is cut, in device pixels (CSS pixels times `scale`).
    struct Geometry {
        int scale = 1;
        int outset = 0; // how far the shadow reaches beyond the box on every side
        int corner = 0; // a corner slice's inward part: radius, offset and blur reach
        int size = 0;   // the square picture's side: 2 × (outset + corner) + middle
        // The smallest box (CSS pixels) whose sides still hold two corner slices.
        double smallestBox() const { return 2.0 * corner / scale; }
    };
    static Geometry geometry(int shadow, int radius, int scale);

    // The picture, black with the shadow's opacity, transparent inside the rounded box.
    static RgbaImage render(int shadow, int radius, int scale);

    // The style declarations drawing the shadow of a `boxWidth` × `boxHeight` box (CSS pixels)
    // from a picture cached in `folder` by its inputs; none when the nine slices cannot serve
    // (no shadow, a box too small, an unsupported scale, no picture) or when the picture is not
    // cached and larger than `maxSide` pixels a side (making it takes time by the square). A
    // picture used is marked as recently used.
    static std::optional<std::string> borderImage(int shadow, int radius, int scale,
                                                  double boxWidth, double boxHeight,
                                                  const std::filesystem::path& folder,
                                                  int maxSide = std::numeric_limits<int>::max());
};

} // namespace lumeris
