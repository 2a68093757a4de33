#pragma once

#include "ui/OneShotTimer.h"

#include <utility>
#include <vector>

namespace lumeris {

// Keeps scheduled tasks until the test fires them.
class ManualTimer : public OneShotTimer {
public:
    struct Task {
        double seconds;
        std::function<void()> run;
    };

    void schedule(double seconds, std::function<void()> task) override {
        tasks.push_back({seconds, std::move(task)});
    }
    void fireAll() {
        for (auto& task : std::exchange(tasks, {})) {
            task.run();
        }
    }

    std::vector<Task> tasks;
};

} // namespace lumeris
