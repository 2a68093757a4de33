#include "ui/BezelDelegateImpl.h"

#include "base/Logger.h"

#include <exception>

namespace lumeris {

std::shared_ptr<BezelDelegateImpl>
BezelDelegateImpl::create(std::weak_ptr<BezelSurface> bezelWindow, double fadeOutAnimationDuration,
                          std::function<void()> afterHideCallback) {
    return std::shared_ptr<BezelDelegateImpl>(new BezelDelegateImpl(
        std::move(bezelWindow), fadeOutAnimationDuration, std::move(afterHideCallback)));
}

BezelDelegateImpl::BezelDelegateImpl(std::weak_ptr<BezelSurface> bezelWindow,
                                     double fadeOutAnimationDuration,
                                     std::function<void()> afterHideCallback)
    : bezelWindow_(std::move(bezelWindow)), fadeOutAnimationDuration_(fadeOutAnimationDuration),
      afterHideCallback_(std::move(afterHideCallback)) {}

void BezelDelegateImpl::present(double fadeInAnimationDuration, const BezelTimeToLive& timeToLive,
                                OneShotTimer& timer) {
    if (auto window = bezelWindow_.lock()) {
        window->fadeTo(1.0, fadeInAnimationDuration, {});
    }
    if (timeToLive.isForever()) {
        return;
    }
    timer.schedule(timeToLive.seconds(), [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->requestHide();
        }
    });
}

void BezelDelegateImpl::requestHide() {
    if (!shouldFadeOut_) {
        return;
    }
    shouldFadeOut_ = false;
    auto window = bezelWindow_.lock();
    if (!window) {
        return;
    }
    // The window owns this delegate; the completion must not keep either alive.
    window->fadeTo(0.0, fadeOutAnimationDuration_, [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->finishHiding();
        }
    });
}

void BezelDelegateImpl::finishHiding() {
    auto keepAlive = shared_from_this();
    if (auto window = bezelWindow_.lock()) {
        window->close();
    }
    auto callback = std::exchange(afterHideCallback_, nullptr);
    if (!callback) {
        return;
    }
    try {
        callback();
    } catch (const std::exception& error) {
        LOG_ERROR("A bezel's after-hide callback failed: {}", error.what());
    }
}

} // namespace lumeris
