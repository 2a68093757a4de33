#include "ui/BezelGeometry.h"

namespace lumeris {

BezelGeometry::Size BezelGeometry::size(BezelSize size) {
    switch (size) {
    case BezelSize::Normal:
        break;
    }
    return {SIDE, SIDE};
}

Rect BezelGeometry::frame(const std::vector<Rect>& monitors, std::optional<std::size_t> primary,
                          BezelLocation location, BezelSize bezelSize) {
    const Size side = size(bezelSize);
    if (monitors.empty()) {
        return {FALLBACK_FRAME.x, FALLBACK_FRAME.y, side.width, side.height};
    }
    const Rect& screen = primary && *primary < monitors.size() ? monitors[*primary] : monitors[0];
    switch (location) {
    case BezelLocation::Normal:
        break;
    }
    return {screen.x + screen.width / 2 - side.width / 2,
            screen.maxY() - BOTTOM_MARGIN - side.height, side.width, side.height};
}

BezelGeometry::Size BezelGeometry::fittedIconSize(Size natural) {
    if (natural.width <= 0 || natural.height <= 0 ||
        (natural.width < ICON_LIMIT && natural.height < ICON_LIMIT)) {
        return natural;
    }
    const double scale =
        natural.width >= natural.height ? ICON_LIMIT / natural.width : ICON_LIMIT / natural.height;
    return {natural.width * scale, natural.height * scale};
}

Rect BezelGeometry::iconRect(Size fitted, double messageTop, BezelSize bezelSize) {
    const Size side = size(bezelSize);
    return {(side.width - fitted.width) / 2, messageTop / 2 - fitted.height / 2, fitted.width,
            fitted.height};
}

} // namespace lumeris
