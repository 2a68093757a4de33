#include "ui/BezelGeometry.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(BezelGeometry, FrameIsCentredAboveTheBottomOfTheMainMonitor) {
    const Rect left{0, 0, 1920, 1080};
    const Rect right{1920, 200, 1280, 800};
    struct Case {
        std::vector<Rect> monitors;
        std::optional<std::size_t> primary;
        Rect expected;
    };
    const Case cases[] = {
        {{left}, 0, {860, 740, 200, 200}},         {{left}, std::nullopt, {860, 740, 200, 200}},
        {{left, right}, 1, {2460, 660, 200, 200}}, {{left, right}, 5, {860, 740, 200, 200}},
        {{}, std::nullopt, {48, 48, 200, 200}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BezelGeometry::frame(c.monitors, c.primary), c.expected)
            << c.monitors.size() << " monitors, primary " << c.primary.value_or(99);
    }
}

TEST(BezelGeometry, IconsFitTheSideThatOverflowsMoreAndSitAboveTheMessage) {
    using Size = BezelGeometry::Size;
    const std::pair<Size, Size> cases[] = {
        {{256, 64}, {120, 30}},   {{64, 256}, {30, 120}}, {{100, 100}, {100, 100}},
        {{240, 240}, {120, 120}}, {{120, 60}, {120, 60}}, {{119, 119}, {119, 119}},
    };
    for (const auto& [natural, fitted] : cases) {
        EXPECT_EQ(BezelGeometry::fittedIconSize(natural), fitted)
            << natural.width << "x" << natural.height;
    }
    // Placed midway above the message.
    EXPECT_EQ(BezelGeometry::iconRect({96, 96}, 150), (Rect{52, 27, 96, 96}));
}
