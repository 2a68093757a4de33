#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace lumeris {

// The serial "screenshot-queue" with the page-loaded condition it waits on. Each request waits on
// the queue's own thread until the document has reported that it painted (or the time-out passed),
// then continues on the main GLib context. Because the queue is serial, later requests line up
// behind a waiting one. Nothing on the main thread ever blocks here.
class ScreenshotQueue {
public:
    // Called on the main context; `loaded` is false when the wait timed out.
    using Continuation = std::function<void(bool loaded)>;

    explicit ScreenshotQueue(std::chrono::milliseconds loadTimeout = std::chrono::seconds(30));
    // Stops the worker; a request still waiting is dropped without being answered.
    ~ScreenshotQueue();
    ScreenshotQueue(const ScreenshotQueue&) = delete;
    ScreenshotQueue& operator=(const ScreenshotQueue&) = delete;

    // Written on the main thread, read by the queue; always under the condition's lock.
    void setPageLoaded(bool loaded);
    bool pageLoaded() const;

    void enqueue(Continuation continuation);

    void setLoadTimeout(std::chrono::milliseconds timeout);

private:
    void run();
    static void postToMain(Continuation continuation, bool loaded);

    mutable std::mutex mutex_;
    std::condition_variable pageLoadCondition_;
    std::deque<Continuation> pending_;
    bool pageLoaded_ = false;
    bool stopping_ = false;
    std::chrono::milliseconds loadTimeout_;
    std::thread worker_;
};

} // namespace lumeris
