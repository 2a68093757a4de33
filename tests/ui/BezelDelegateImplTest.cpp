#include "ui/BezelDelegateImpl.h"

#include "fakes/FakeBezelSurface.h"
#include "fakes/ManualTimer.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

struct Bezel {
    std::shared_ptr<FakeBezelSurface> window = std::make_shared<FakeBezelSurface>();
    int callbacks = 0;
    std::shared_ptr<BezelDelegateImpl> delegate =
        BezelDelegateImpl::create(window, 0.25, [this] { ++callbacks; });
    ManualTimer timer;
};

} // namespace

TEST(BezelDelegateImpl, FadesInAndArmsTheTimeToLive) {
    const std::pair<BezelTimeToLive, std::optional<double>> cases[] = {
        {BezelTimeToLive::shortTime(), 2.0},
        {BezelTimeToLive::longTime(), 6.0},
        {BezelTimeToLive::exactly(0.2), 0.2},
        {BezelTimeToLive::forever(), std::nullopt},
    };
    for (const auto& [timeToLive, seconds] : cases) {
        Bezel bezel;
        bezel.delegate->present(0.1, timeToLive, bezel.timer);
        ASSERT_EQ(bezel.window->fades.size(), 1u);
        EXPECT_EQ(std::pair(bezel.window->fades[0].alpha, bezel.window->fades[0].seconds),
                  std::pair(1.0, 0.1));
        ASSERT_EQ(bezel.timer.tasks.size(), seconds ? 1u : 0u) << timeToLive.seconds();
        EXPECT_EQ(seconds.value_or(0), seconds ? bezel.timer.tasks[0].seconds : 0);
    }
}

TEST(BezelDelegateImpl, HidesOnceAndCallsBackAfterTheFadeOut) {
    Bezel bezel;
    bezel.delegate->present(0.0, BezelTimeToLive::shortTime(), bezel.timer);
    bezel.timer.fireAll();
    ASSERT_EQ(bezel.window->fades.size(), 2u) << "expiry fades out";
    EXPECT_EQ(std::pair(bezel.window->fades[1].alpha, bezel.window->fades[1].seconds),
              std::pair(0.0, 0.25));
    bezel.delegate->requestHide(); // too late: changes nothing
    EXPECT_EQ(bezel.window->fades.size(), 2u);
    EXPECT_EQ(bezel.callbacks, 0) << "the callback waits for the fade-out";
    bezel.window->finishLastFade();
    EXPECT_EQ(bezel.window->closed, 1);
    // A surface finishing the fade again must not repeat the callback.
    bezel.window->finishLastFade();
    EXPECT_EQ(bezel.callbacks, 1);
}

TEST(BezelDelegateImpl, NoCallbackOnceTheDelegateIsGone) {
    Bezel bezel;
    bezel.delegate->requestHide();
    bezel.delegate.reset();
    bezel.window->finishLastFade();
    EXPECT_EQ(bezel.window->closed, 0);
    EXPECT_EQ(bezel.callbacks, 0);
}
