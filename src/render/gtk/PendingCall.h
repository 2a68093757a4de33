#pragma once

#include "base/GObjectPtr.h"

#include <chrono>
#include <functional>
#include <gio/gio.h>
#include <memory>
#include <utility>

namespace lumeris {

// An asynchronous renderer call with a bounded wait: answered exactly once, by the renderer or by
// the time-out, whichever comes first. The time-out also cancels the call's cancellable, so WebKit
// stops the work. Held by shared_ptr: the timer and the renderer's callback each keep it alive.
template <typename... Args>
class PendingCall : public std::enable_shared_from_this<PendingCall<Args...>> {
public:
    using Callback = std::function<void(Args...)>;

    explicit PendingCall(Callback callback) : callback_(std::move(callback)) {}
    PendingCall(const PendingCall&) = delete;
    PendingCall& operator=(const PendingCall&) = delete;

    // After `timeout`, answers with `onTimeout`'s arguments unless answered before.
    void arm(std::chrono::milliseconds timeout, std::function<void(PendingCall&)> onTimeout) {
        struct Armed {
            std::shared_ptr<PendingCall> pending;
            std::function<void(PendingCall&)> onTimeout;
        };
        timeoutId_ = g_timeout_add_full(
            G_PRIORITY_DEFAULT, static_cast<guint>(timeout.count()),
            [](gpointer data) -> gboolean {
                auto* armed = static_cast<Armed*>(data);
                armed->pending->timeoutId_ = 0;
                g_cancellable_cancel(armed->pending->cancellable());
                armed->onTimeout(*armed->pending);
                return G_SOURCE_REMOVE;
            },
            new Armed{this->shared_from_this(), std::move(onTimeout)},
            [](gpointer data) { delete static_cast<Armed*>(data); });
    }

    void answer(Args... args) {
        if (answered_) {
            return;
        }
        answered_ = true;
        disarm();
        if (auto done = std::move(callback_)) {
            done(std::move(args)...);
        }
    }

    GCancellable* cancellable() const { return cancellable_.get(); }

    // A heap copy of a strong reference, as user data for a GAsyncReadyCallback; `adopt` takes it
    // back.
    gpointer toUserData() { return new std::shared_ptr<PendingCall>(this->shared_from_this()); }
    static std::shared_ptr<PendingCall> adopt(gpointer data) {
        std::unique_ptr<std::shared_ptr<PendingCall>> held(
            static_cast<std::shared_ptr<PendingCall>*>(data));
        return std::move(*held);
    }

private:
    void disarm() {
        if (timeoutId_ != 0) {
            g_source_remove(std::exchange(timeoutId_, 0));
        }
    }

    Callback callback_;
    GObjectPtr<GCancellable> cancellable_{g_cancellable_new()};
    guint timeoutId_ = 0;
    bool answered_ = false;
};

} // namespace lumeris
