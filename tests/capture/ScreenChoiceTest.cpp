#include "capture/ScreenChoice.h"

#include "fakes/FakeScreenLocator.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(ScreenChoice, ScreenWithMouseIsTheFirstScreenHoldingThePointer) {
    FakeScreenLocator screens;
    ScreenInfo left{{0, 0, 1920, 1080}, {0, 32, 1920, 1048}, 1};
    ScreenInfo right{{1920, 0, 1280, 800}, {1920, 0, 1280, 800}, 2};
    ScreenInfo mirror{{1920, 0, 1280, 800}, {1920, 0, 1280, 800}, 1};
    screens.all = {left, right, mirror};
    EXPECT_FALSE(ScreenChoice::screenWithMouse(screens)); // no pointer
    const std::pair<std::pair<double, double>, std::optional<ScreenInfo>> cases[] = {
        {{1920, 10}, right}, {{1919.5, 1079}, left}, {{500, 1080}, std::nullopt}};
    for (const auto& [pointer, expected] : cases) {
        screens.pointer = pointer;
        EXPECT_EQ(ScreenChoice::screenWithMouse(screens), expected) << pointer.first;
    }
}
