#pragma once

#include <chrono>
#include <functional>
#include <glib.h>

namespace lumeris {

// A bounded wait on the main thread for asynchronous work: runs the default main context until
// the work reports completion or the limit passes. For the command line and tests only; never
// inside the running application, where waiting would re-enter its handlers.
class MainLoopWait {
public:
    explicit MainLoopWait(std::chrono::milliseconds limit);
    ~MainLoopWait();
    MainLoopWait(const MainLoopWait&) = delete;
    MainLoopWait& operator=(const MainLoopWait&) = delete;

    // For the work's callback: ends `run()`.
    void finish() { finished_ = true; }

    // True once finished; false when the limit passed first.
    bool run();
    // True once `finished()` holds; false when the limit passed first.
    bool until(const std::function<bool()>& finished);

    // Runs `finished` for at most `limit`.
    static bool runUntil(const std::function<bool()>& finished, std::chrono::milliseconds limit);

private:
    std::chrono::steady_clock::time_point deadline_;
    guint tickId_ = 0;
    bool expired_ = false;
    bool finished_ = false;
};

} // namespace lumeris
