#pragma once

#include "base/RgbaImage.h"
#include "ui/BezelLocation.h"
#include "ui/BezelSize.h"
#include "ui/BezelTimeToLive.h"
#include "ui/Color.h"
#include "ui/LabelFont.h"

#include <optional>
#include <string>

namespace lumeris {

// Everything one bezel shows and how it comes and goes. Only the message has no default.
struct BezelParameters {
    static constexpr double DEFAULT_FADE_OUT_SECONDS = 0.25;
    static constexpr double DEFAULT_CORNER_RADIUS = 18.0;
    static constexpr double DEFAULT_BASELINE_OFFSET = 20.0;
    static constexpr double DEFAULT_FONT_SIZE = 18.0;

    // Has no initialiser, so leaving it out of a designated initialiser draws a warning.
    std::string messageText;
    std::optional<RgbaImage> icon = std::nullopt;
    BezelLocation location = BezelLocation::Normal;
    BezelSize size = BezelSize::Normal;
    BezelTimeToLive timeToLive = BezelTimeToLive::shortTime();
    double fadeInAnimationDuration = 0.0;
    double fadeOutAnimationDuration = DEFAULT_FADE_OUT_SECONDS;
    double cornerRadius = DEFAULT_CORNER_RADIUS;
    Color backgroundTint = Color::white(0.0);
    double messageLabelBaselineOffsetFromBottomOfBezel = DEFAULT_BASELINE_OFFSET;
    LabelFont messageLabelFont = LabelFont::system(DEFAULT_FONT_SIZE);
    // Bezels are always dark, so the label colour is that of the dark appearance.
    Color messageLabelColor = Color::white(1.0);
};

} // namespace lumeris
