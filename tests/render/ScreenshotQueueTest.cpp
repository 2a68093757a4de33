#include "render/ScreenshotQueue.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <vector>

using namespace lumeris;
using namespace std::chrono_literals;

namespace {

void iterateFor(std::chrono::milliseconds span) {
    for (auto end = std::chrono::steady_clock::now() + span;
         std::chrono::steady_clock::now() < end;) {
        if (!g_main_context_iteration(nullptr, FALSE)) {
            g_usleep(1000);
        }
    }
}

} // namespace

// The renderer's tests cover the bounded wait.
TEST(ScreenshotQueueTest, RequestsWaitForThePageAndAnswerInOrderOnTheMainContext) {
    ScreenshotQueue queue(10s);
    std::vector<int> answered;
    GThread* mainThread = g_thread_self();
    bool onMain = true;
    auto request = [&](int n) {
        queue.enqueue([&, n](bool loaded) {
            onMain = onMain && g_thread_self() == mainThread;
            answered.push_back(loaded ? n : -n);
        });
    };
    request(1), request(2), request(3);
    iterateFor(100ms);
    EXPECT_TRUE(answered.empty());
    queue.setPageLoaded(true);
    iterateFor(200ms);
    EXPECT_EQ(answered, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(onMain);
    // Loaded: a new request proceeds at once.
    request(4);
    iterateFor(100ms);
    EXPECT_EQ(answered.back(), 4);

    // A queue destroyed while a request waits drops it unanswered.
    {
        ScreenshotQueue waiting(10s);
        waiting.enqueue([&](bool) { answered.push_back(0); });
        iterateFor(50ms);
    }
    iterateFor(100ms);
    EXPECT_EQ(answered.back(), 4);
}
