#pragma once

#include "capture/ScreenInfo.h"
#include "capture/ScreenLocator.h"

#include <optional>

namespace lumeris {

// Which monitor a capture belongs to.
class ScreenChoice {
public:
    // The first screen, in the display server's order, whose frame holds the pointer.
    static std::optional<ScreenInfo> screenWithMouse(ScreenLocator& screens);
};

} // namespace lumeris
