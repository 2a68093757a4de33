#pragma once

#include "capture/ScreenLocator.h"

namespace lumeris {

// Monitors and pointer of the default GDK display. Main thread only.
class GdkScreenLocator : public ScreenLocator {
public:
    std::vector<ScreenInfo> screens() override;
    std::optional<ScreenInfo> primaryScreen() override;
    std::optional<std::pair<double, double>> pointerPosition() override;
};

} // namespace lumeris
