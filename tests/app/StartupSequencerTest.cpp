#include "app/StartupSequencer.h"

#include "fakes/ManualTimer.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

struct FakeProbe : CaptureBackendProbe {
    bool available() override {
        ++asked;
        return found;
    }
    bool found = false;
    int asked = 0;
};

struct StartupSequencerTest : ::testing::Test {
    FakeProbe probe;
    ManualTimer timer;
    std::vector<std::string> steps;
    std::shared_ptr<StartupSequencer> sequencer = StartupSequencer::create(
        probe, timer,
        {[this] { steps.push_back("show"); }, [this] { steps.push_back("close"); },
         [this] {
             steps.push_back("launch");
         }});
};

} // namespace

TEST_F(StartupSequencerTest, ABackendAtOnceLaunchesAndWatches) {
    probe.found = true;
    sequencer->start();
    EXPECT_EQ(steps, std::vector<std::string>{"launch"});
    ASSERT_EQ(timer.tasks.size(), 1u);
    EXPECT_EQ(timer.tasks[0].seconds, StartupSequencer::WATCH_SECONDS);
    timer.fireAll();
    EXPECT_EQ(steps, std::vector<std::string>{"launch"});
}

TEST_F(StartupSequencerTest, LaterStepsWaitForABackendAndRunOnce) {
    sequencer->start();
    timer.fireAll();
    EXPECT_EQ(steps, std::vector<std::string>{"show"});
    EXPECT_TRUE(sequencer->waitingForBackend());
    ASSERT_EQ(timer.tasks.size(), 1u);
    EXPECT_EQ(timer.tasks[0].seconds, StartupSequencer::POLL_SECONDS);

    // "Check again" finds the newly installed tool; the poll scheduled before it is stale.
    probe.found = true;
    sequencer->checkAgain();
    const int asked = probe.asked;
    timer.tasks.front().run();
    EXPECT_EQ(probe.asked, asked);
    EXPECT_EQ(steps, (std::vector<std::string>{"show", "close", "launch"}));

    // The tool goes away and comes back: the window returns and goes, the launch does not rerun.
    probe.found = false;
    timer.fireAll();
    probe.found = true;
    timer.fireAll();
    EXPECT_EQ(steps, (std::vector<std::string>{"show", "close", "launch", "show", "close"}));
    EXPECT_TRUE(sequencer->launched());
}

TEST_F(StartupSequencerTest, ScheduledChecksEndWithTheSequencer) {
    sequencer->start();
    sequencer.reset();
    probe.found = true;
    timer.fireAll();
    EXPECT_EQ(steps, std::vector<std::string>{"show"});
}
