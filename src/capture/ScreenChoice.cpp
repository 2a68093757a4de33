#include "capture/ScreenChoice.h"

namespace lumeris {

std::optional<ScreenInfo> ScreenChoice::screenWithMouse(ScreenLocator& screens) {
    std::optional<std::pair<double, double>> pointer = screens.pointerPosition();
    if (!pointer) {
        return std::nullopt;
    }
    for (const ScreenInfo& screen : screens.screens()) {
        if (screen.frame.contains(pointer->first, pointer->second)) {
            return screen;
        }
    }
    return std::nullopt;
}

} // namespace lumeris
