#include "ui/gtk/NotificationBezel.h"

#include "ui/BezelDelegateImpl.h"
#include "ui/MainLoopTimer.h"
#include "ui/gtk/BezelWindow.h"

#include <algorithm>
#include <glibmm/main.h>
#include <vector>

namespace lumeris {

namespace {

// Never destroyed: windows must not outlive GTK in static destruction at exit.
std::vector<std::shared_ptr<BezelWindow>>& registry() {
    static auto* windows = new std::vector<std::shared_ptr<BezelWindow>>();
    return *windows;
}

// Closing happens inside the window's own fade step; the window is released afterwards.
void unregister(BezelWindow* window) {
    Glib::signal_idle().connect_once([window] {
        auto& windows = registry();
        std::erase_if(windows, [window](const auto& held) { return held.get() == window; });
    });
}

} // namespace

std::weak_ptr<BezelDelegate> NotificationBezel::show(BezelParameters parameters,
                                                     AfterHideCallback afterHideCallback) {
    auto window = std::make_shared<BezelWindow>(parameters, unregister);
    registry().push_back(window);
    auto delegate = BezelDelegateImpl::create(window, parameters.fadeOutAnimationDuration,
                                              std::move(afterHideCallback));
    window->setBezelDelegate(delegate);
    window->showWithoutActivating();
    MainLoopTimer timer;
    delegate->present(parameters.fadeInAnimationDuration, parameters.timeToLive, timer);
    return delegate;
}

std::weak_ptr<BezelDelegate>
NotificationBezel::show(std::string messageText, std::optional<RgbaImage> icon,
                        BezelLocation location, BezelSize size, BezelTimeToLive timeToLive,
                        double fadeInAnimationDuration, double fadeOutAnimationDuration,
                        double cornerRadius, Color backgroundTint, LabelFont messageLabelFont,
                        Color messageLabelColor, AfterHideCallback afterHideCallback) {
    BezelParameters parameters{std::move(messageText),
                               std::move(icon),
                               location,
                               size,
                               timeToLive,
                               fadeInAnimationDuration,
                               fadeOutAnimationDuration,
                               cornerRadius,
                               backgroundTint,
                               BezelParameters::DEFAULT_BASELINE_OFFSET,
                               std::move(messageLabelFont),
                               messageLabelColor};
    return show(std::move(parameters), std::move(afterHideCallback));
}

std::size_t NotificationBezel::bezelsOnScreen() {
    return registry().size();
}

} // namespace lumeris
