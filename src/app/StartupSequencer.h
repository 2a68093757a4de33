#pragma once

#include "app/CaptureBackendProbe.h"
#include "ui/OneShotTimer.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace lumeris {

// The part of start-up that waits for a capture tool: without one the permission window names
// what to install and the probe is asked again every second; once one is found the rest of the
// launch runs (once), and a watch keeps asking every five seconds, bringing the window back when
// the tool goes away. Main thread.
class StartupSequencer : public std::enable_shared_from_this<StartupSequencer> {
public:
    static constexpr double POLL_SECONDS = 1.0;
    static constexpr double WATCH_SECONDS = 5.0;

    struct Steps {
        std::function<void()> showPermissionWindow;
        std::function<void()> closePermissionWindow;
        // The steps after the probe: menu title, hot keys, status item, launch window.
        std::function<void()> continueLaunch;
    };

    static std::shared_ptr<StartupSequencer> create(CaptureBackendProbe& probe, OneShotTimer& timer,
                                                    Steps steps);

    void start();
    // The permission window's "Check again".
    void checkAgain();

    bool launched() const { return launched_; }
    bool waitingForBackend() const { return windowShown_; }

private:
    StartupSequencer(CaptureBackendProbe& probe, OneShotTimer& timer, Steps steps);
    void check();
    void scheduleNext(double seconds);

    CaptureBackendProbe& probe_;
    OneShotTimer& timer_;
    Steps steps_;
    bool launched_ = false;
    bool windowShown_ = false;
    // Only the latest scheduled check runs; "Check again" makes the pending one stale.
    std::uint64_t generation_ = 0;
};

} // namespace lumeris
