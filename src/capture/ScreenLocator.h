#pragma once

#include "capture/ScreenInfo.h"

#include <optional>
#include <utility>
#include <vector>

namespace lumeris {

// The monitors and the pointer, as the display server reports them.
class ScreenLocator {
public:
    virtual ~ScreenLocator() = default;

    // All monitors in the display server's order.
    virtual std::vector<ScreenInfo> screens() = 0;
    // The primary monitor, when the display server names one.
    virtual std::optional<ScreenInfo> primaryScreen() = 0;
    // The pointer in layout coordinates, when the display server tells.
    virtual std::optional<std::pair<double, double>> pointerPosition() = 0;
};

} // namespace lumeris
