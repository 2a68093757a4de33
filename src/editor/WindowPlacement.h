#pragma once

#include "capture/ScreenInfo.h"

#include <optional>
#include <string>

namespace lumeris {

// Where the editor window goes and what it is called. Frames are in the desktop's layout
// coordinates (top-left origin, y growing downwards).
class WindowPlacement {
public:
    using Frame = ScreenInfo::Frame;

    // How far above the centre of the monitor an enlarged window sits.
    static constexpr double ABOVE_CENTRE = 80.0;

    // "<fileName> - Lumeris <version> (<build>)".
    static std::string windowTitle(const std::string& fileName);

    // None while the window is at least minWidth × minHeight. Otherwise both sides become the
    // minimums (even when only one was short) and the window is centred on `visibleFrame`,
    // ABOVE_CENTRE points high but never above its top or larger than it; without a monitor it
    // keeps its origin.
    static std::optional<Frame> repositionWindow(const Frame& window, double minWidth,
                                                 double minHeight,
                                                 const std::optional<Frame>& visibleFrame);
};

} // namespace lumeris
