#include "app/StartupSequencer.h"

#include "base/Logger.h"

namespace lumeris {

std::shared_ptr<StartupSequencer> StartupSequencer::create(CaptureBackendProbe& probe,
                                                           OneShotTimer& timer, Steps steps) {
    return std::shared_ptr<StartupSequencer>(new StartupSequencer(probe, timer, std::move(steps)));
}

StartupSequencer::StartupSequencer(CaptureBackendProbe& probe, OneShotTimer& timer, Steps steps)
    : probe_(probe), timer_(timer), steps_(std::move(steps)) {}

void StartupSequencer::start() {
    check();
}

void StartupSequencer::checkAgain() {
    check();
}

void StartupSequencer::check() {
    if (!probe_.available()) {
        if (!windowShown_) {
            LOG_INFO("No capture tool found; showing what to install");
            windowShown_ = true;
            if (steps_.showPermissionWindow) {
                steps_.showPermissionWindow();
            }
        }
        scheduleNext(POLL_SECONDS);
        return;
    }
    if (windowShown_) {
        windowShown_ = false;
        if (steps_.closePermissionWindow) {
            steps_.closePermissionWindow();
        }
    }
    if (!launched_) {
        launched_ = true;
        if (steps_.continueLaunch) {
            steps_.continueLaunch();
        }
    }
    scheduleNext(WATCH_SECONDS);
}

void StartupSequencer::scheduleNext(double seconds) {
    const auto generation = ++generation_;
    std::weak_ptr<StartupSequencer> weak = weak_from_this();
    timer_.schedule(seconds, [weak, generation] {
        auto self = weak.lock();
        if (self && self->generation_ == generation) {
            self->check();
        }
    });
}

} // namespace lumeris
