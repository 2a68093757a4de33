#pragma once

#include <functional>

namespace lumeris {

// Runs a task once on the main loop after a delay.
class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;
    virtual void schedule(double seconds, std::function<void()> task) = 0;
};

} // namespace lumeris
