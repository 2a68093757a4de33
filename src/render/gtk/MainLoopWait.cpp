#include "render/gtk/MainLoopWait.h"

namespace lumeris {

namespace {

// The context is woken this often even when idle, so that the deadline, and work finished on
// another thread without posting to the main context, are noticed.
constexpr guint TICK_MILLISECONDS = 5;

} // namespace

MainLoopWait::MainLoopWait(std::chrono::milliseconds limit)
    : deadline_(std::chrono::steady_clock::now() + limit) {
    tickId_ = g_timeout_add(
        TICK_MILLISECONDS,
        [](gpointer data) -> gboolean {
            auto* wait = static_cast<MainLoopWait*>(data);
            wait->expired_ = std::chrono::steady_clock::now() >= wait->deadline_;
            return G_SOURCE_CONTINUE;
        },
        this);
}

MainLoopWait::~MainLoopWait() {
    g_source_remove(tickId_);
}

bool MainLoopWait::run() {
    return until([this] { return finished_; });
}

bool MainLoopWait::until(const std::function<bool()>& finished) {
    while (!finished()) {
        if (expired_) {
            return false;
        }
        g_main_context_iteration(nullptr, TRUE);
    }
    return true;
}

bool MainLoopWait::runUntil(const std::function<bool()>& finished,
                            std::chrono::milliseconds limit) {
    MainLoopWait wait(limit);
    return wait.until(finished);
}

} // namespace lumeris
