#include "render/ScreenshotQueue.h"

#include "base/Logger.h"

#include <glib.h>
#include <pthread.h>

namespace lumeris {

ScreenshotQueue::ScreenshotQueue(std::chrono::milliseconds loadTimeout)
    : loadTimeout_(loadTimeout) {
    worker_ = std::thread([this] { run(); });
    pthread_setname_np(worker_.native_handle(), "screenshot-queue");
}

ScreenshotQueue::~ScreenshotQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.clear();
    }
    pageLoadCondition_.notify_all();
    worker_.join();
}

void ScreenshotQueue::setPageLoaded(bool loaded) {
    {
        std::lock_guard lock(mutex_);
        pageLoaded_ = loaded;
        if (loaded) {
            LOG_DEBUG("SYNC-CHECK: signal");
        }
    }
    if (loaded) {
        pageLoadCondition_.notify_all();
    }
}

bool ScreenshotQueue::pageLoaded() const {
    std::lock_guard lock(mutex_);
    return pageLoaded_;
}

void ScreenshotQueue::setLoadTimeout(std::chrono::milliseconds timeout) {
    std::lock_guard lock(mutex_);
    loadTimeout_ = timeout;
}

void ScreenshotQueue::enqueue(Continuation continuation) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(continuation));
    }
    pageLoadCondition_.notify_all();
}

// Runs on the queue's thread.
void ScreenshotQueue::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        pageLoadCondition_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (stopping_) {
            return;
        }
        Continuation next = std::move(pending_.front());
        pending_.pop_front();

        auto deadline = std::chrono::steady_clock::now() + loadTimeout_;
        bool timedOut = false;
        while (!pageLoaded_ && !stopping_ && !timedOut) {
            LOG_DEBUG("SYNC-CHECK: wait");
            timedOut = pageLoadCondition_.wait_until(lock, deadline) == std::cv_status::timeout &&
                       !pageLoaded_;
        }
        if (stopping_) {
            return;
        }
        bool loaded = pageLoaded_;
        lock.unlock();
        postToMain(std::move(next), loaded);
        lock.lock();
    }
}

void ScreenshotQueue::postToMain(Continuation continuation, bool loaded) {
    struct Posted {
        Continuation continuation;
        bool loaded;
    };
    auto* posted = new Posted{std::move(continuation), loaded};
    // An idle source, not g_main_context_invoke: invoke runs the function right here, on the
    // queue's thread, whenever the main thread happens not to hold the context.
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            auto* item = static_cast<Posted*>(data);
            item->continuation(item->loaded);
            return G_SOURCE_REMOVE;
        },
        posted, [](gpointer data) { delete static_cast<Posted*>(data); });
}

} // namespace lumeris
