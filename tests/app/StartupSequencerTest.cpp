#include "app/StartupSequencer.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

// Keeps the callback until the test says a tool was found.
struct FakeProbe : CaptureBackendProbe {
    void waitForBackend(std::function<void()> found) override { waiting.push_back(found); }
    void find() {
        for (auto& found : waiting) {
            found();
        }
    }
    std::vector<std::function<void()>> waiting;
};

struct StartupSequencerTest : ::testing::Test {
    FakeProbe probe;
    std::vector<std::string> steps;
    std::shared_ptr<StartupSequencer> sequencer =
        StartupSequencer::create(probe, [this] { steps.push_back("launch"); });
};

} // namespace

TEST_F(StartupSequencerTest, LaterStepsWaitForABackendAndRunOnce) {
    sequencer->start();
    sequencer->afterLaunch([this] { steps.push_back("window"); });
    EXPECT_TRUE(steps.empty());
    EXPECT_FALSE(sequencer->launched());

    probe.find();
    EXPECT_EQ(steps, (std::vector<std::string>{"launch", "window"}));
    // The probe reporting again (a tool reinstalled, a second start) changes nothing.
    sequencer->start();
    probe.find();
    EXPECT_EQ(steps, (std::vector<std::string>{"launch", "window"}));

    sequencer->afterLaunch([this] { steps.push_back("later"); });
    EXPECT_EQ(steps.back(), "later");
}

TEST_F(StartupSequencerTest, AProbeAnsweringAfterTheSequencerIsGoneDoesNothing) {
    sequencer->start();
    sequencer.reset();
    probe.find();
    EXPECT_TRUE(steps.empty());
}
