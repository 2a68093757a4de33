#pragma once

#include "base/RgbaImage.h"

namespace lumeris {

// A decoded image with the size it is shown at, in points. High-density captures carry more
// pixels than points; scale() is the editor's imageScale.
struct LoadedImage {
    RgbaImage image;
    double pointWidth = 0;
    double pointHeight = 0;

    double scale() const { return pointWidth > 0 ? image.width / pointWidth : 1.0; }
};

} // namespace lumeris
