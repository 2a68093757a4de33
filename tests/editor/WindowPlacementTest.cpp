#include "editor/WindowPlacement.h"

#include <gtest/gtest.h>

using namespace lumeris;
using Frame = WindowPlacement::Frame;

// Layout coordinates grow downwards: 80 points above the centre is y = midY - h/2 - 80.
TEST(WindowPlacementTest, ShortWindowsTakeBothMinimumsAndSitAboveTheCentre) {
    const Frame screen{0, 0, 1440, 875};
    struct Case {
        Frame window;
        double minWidth, minHeight;
        std::optional<Frame> visible;
        std::optional<Frame> expected;
    };
    const Case cases[] = {
        {{10, 20, 800, 500}, 1200, 600, screen, Frame{120, 57.5, 1200, 600}},
        // Wide enough but short: narrowed to the minimum width as well.
        {{10, 20, 1400, 500}, 1390, 990, std::nullopt, Frame{10, 20, 1390, 990}},
        {{10, 20, 1400, 1000}, 1390, 990, screen, std::nullopt},
        // A second monitor to the right of the first.
        {{0, 0, 800, 500}, 1200, 600, Frame{1440, 30, 1920, 1050}, Frame{1800, 175, 1200, 600}},
        // A monitor smaller than the minimums: filled, not overflowed.
        {{0, 0, 800, 500}, 1480, 990, screen, Frame{0, 0, 1440, 875}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WindowPlacement::repositionWindow(c.window, c.minWidth, c.minHeight, c.visible),
                  c.expected)
            << c.window.width << " x " << c.window.height;
    }
}
