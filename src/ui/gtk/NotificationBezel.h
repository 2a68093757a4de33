#pragma once

#include "ui/BezelParameters.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lumeris {

class BezelDelegate;

// Short confirmations ("Image Copied") in a bezel near the bottom of the main screen. Every
// bezel on screen is kept alive by a process-wide registry until it has faded out; several may
// stand at once, drawn at the same place. Main thread only.
class NotificationBezel {
public:
    using AfterHideCallback = std::function<void()>;

    // Shows one bezel and returns at once; `afterHideCallback` runs once it is gone. The delegate
    // returned lets the caller hide it early (the only way to end a `forever` bezel); the window
    // owns it.
    static std::weak_ptr<BezelDelegate> show(BezelParameters parameters,
                                             AfterHideCallback afterHideCallback = {});

    // The same with the fields one by one; the baseline offset keeps its default.
    static std::weak_ptr<BezelDelegate>
    show(std::string messageText, std::optional<RgbaImage> icon,
         BezelLocation location = BezelLocation::Normal, BezelSize size = BezelSize::Normal,
         BezelTimeToLive timeToLive = BezelTimeToLive::shortTime(),
         double fadeInAnimationDuration = 0.0,
         double fadeOutAnimationDuration = BezelParameters::DEFAULT_FADE_OUT_SECONDS,
         double cornerRadius = BezelParameters::DEFAULT_CORNER_RADIUS,
         Color backgroundTint = Color::white(0.0),
         LabelFont messageLabelFont = LabelFont::system(BezelParameters::DEFAULT_FONT_SIZE),
         Color messageLabelColor = Color::white(1.0), AfterHideCallback afterHideCallback = {});

    // How many bezels the registry holds.
    static std::size_t bezelsOnScreen();
};

} // namespace lumeris
