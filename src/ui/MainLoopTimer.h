#pragma once

#include "ui/OneShotTimer.h"

namespace lumeris {

// OneShotTimer on the default GLib main context. Tasks outlive this object; they hold what they
// need weakly.
class MainLoopTimer : public OneShotTimer {
public:
    void schedule(double seconds, std::function<void()> task) override;
};

} // namespace lumeris
