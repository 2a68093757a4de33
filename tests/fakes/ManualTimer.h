#pragma once

#include "ui/OneShotTimer.h"

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
        auto due = std::move(tasks);
        tasks.clear();
        for (auto& task : due) {
            task.run();
        }
    }

    std::vector<Task> tasks;
};

} // namespace lumeris
