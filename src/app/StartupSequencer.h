#pragma once

#include "app/CaptureBackendProbe.h"

#include <functional>
#include <memory>
#include <vector>

namespace lumeris {

// The order of start-up around the capture tool probe: the steps that need a capture tool (the
// menu title, the hot keys, the status item) run once one is found, and only once however often
// the probe reports; what must follow them (the launch window) waits for them. Main thread.
class StartupSequencer : public std::enable_shared_from_this<StartupSequencer> {
public:
    static std::shared_ptr<StartupSequencer> create(CaptureBackendProbe& probe,
                                                    std::function<void()> continueLaunch);

    void start();
    // Runs `task` now when the launch went on, else right after it does.
    void afterLaunch(std::function<void()> task);

    bool launched() const { return launched_; }

private:
    StartupSequencer(CaptureBackendProbe& probe, std::function<void()> continueLaunch);
    void backendFound();

    CaptureBackendProbe& probe_;
    std::function<void()> continueLaunch_;
    std::vector<std::function<void()>> waiting_;
    bool launched_ = false;
};

} // namespace lumeris
