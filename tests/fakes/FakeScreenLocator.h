#pragma once

#include "capture/ScreenLocator.h"

// A fixed layout and pointer, set by the test.
class FakeScreenLocator : public lumeris::ScreenLocator {
public:
    std::vector<lumeris::ScreenInfo> all;
    std::optional<lumeris::ScreenInfo> primary;
    std::optional<std::pair<double, double>> pointer;

    std::vector<lumeris::ScreenInfo> screens() override { return all; }
    std::optional<lumeris::ScreenInfo> primaryScreen() override { return primary; }
    std::optional<std::pair<double, double>> pointerPosition() override { return pointer; }
};
