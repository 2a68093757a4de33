#pragma once

#include "ui/BezelDelegate.h"
#include "ui/BezelSurface.h"
#include "ui/BezelTimeToLive.h"
#include "ui/OneShotTimer.h"

#include <functional>
#include <memory>

namespace lumeris {

// Brings one bezel on screen and takes it off exactly once: the first hide request (or the
// time-to-live expiry) fades it out, closes it and then runs `afterHideCallback`; later requests
// do nothing. The bezel's window owns its delegate, so the callback runs only while both live.
class BezelDelegateImpl : public BezelDelegate,
                          public std::enable_shared_from_this<BezelDelegateImpl> {
public:
    static std::shared_ptr<BezelDelegateImpl> create(std::weak_ptr<BezelSurface> bezelWindow,
                                                     double fadeOutAnimationDuration,
                                                     std::function<void()> afterHideCallback);

    // Fades the window in from transparent and, unless it lives forever, arms `timer` to hide it.
    void present(double fadeInAnimationDuration, const BezelTimeToLive& timeToLive,
                 OneShotTimer& timer);

    void requestHide() override;

    bool shouldFadeOut() const { return shouldFadeOut_; }

private:
    BezelDelegateImpl(std::weak_ptr<BezelSurface> bezelWindow, double fadeOutAnimationDuration,
                      std::function<void()> afterHideCallback);
    void finishHiding();

    bool shouldFadeOut_ = true;
    std::weak_ptr<BezelSurface> bezelWindow_;
    double fadeOutAnimationDuration_;
    std::function<void()> afterHideCallback_;
};

} // namespace lumeris
