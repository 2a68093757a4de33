#include "app/StartupSequencer.h"

#include "base/Logger.h"

namespace lumeris {

std::shared_ptr<StartupSequencer> StartupSequencer::create(CaptureBackendProbe& probe,
                                                           std::function<void()> continueLaunch) {
    return std::shared_ptr<StartupSequencer>(
        new StartupSequencer(probe, std::move(continueLaunch)));
}

StartupSequencer::StartupSequencer(CaptureBackendProbe& probe, std::function<void()> continueLaunch)
    : probe_(probe), continueLaunch_(std::move(continueLaunch)) {}

void StartupSequencer::start() {
    std::weak_ptr<StartupSequencer> weak = weak_from_this();
    probe_.waitForBackend([weak] {
        if (auto self = weak.lock()) {
            self->backendFound();
        }
    });
}

void StartupSequencer::afterLaunch(std::function<void()> task) {
    if (launched_) {
        task();
    } else {
        waiting_.push_back(std::move(task));
    }
}

void StartupSequencer::backendFound() {
    if (launched_) {
        return;
    }
    launched_ = true;
    LOG_DEBUG("A capture tool is available; setting up the keys and the status item");
    if (continueLaunch_) {
        continueLaunch_();
    }
    for (auto& task : std::exchange(waiting_, {})) {
        task();
    }
}

} // namespace lumeris
