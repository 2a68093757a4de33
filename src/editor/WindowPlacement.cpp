#include "editor/WindowPlacement.h"

#include "base/BuildInfo.h"
#include "base/Logger.h"

#include <algorithm>

namespace lumeris {

std::string WindowPlacement::windowTitle(const std::string& fileName) {
    return fileName + " - Lumeris " + build::VERSION + " (" + build::BUILD_NUMBER + ")";
}

std::optional<WindowPlacement::Frame>
WindowPlacement::repositionWindow(const Frame& window, double minWidth, double minHeight,
                                  const std::optional<Frame>& visibleFrame) {
    if (window.width >= minWidth && window.height >= minHeight) {
        return std::nullopt;
    }
    Frame frame{window.x, window.y, minWidth, minHeight};
    if (visibleFrame) {
        // A monitor smaller than the minimums bounds the window; the picture zooms to fit.
        frame.width = std::min(frame.width, visibleFrame->width);
        frame.height = std::min(frame.height, visibleFrame->height);
        frame.x = visibleFrame->x + visibleFrame->width / 2 - frame.width / 2;
        // Layout y grows downwards, so "above" subtracts; the title bar stays reachable.
        frame.y = std::max(visibleFrame->y, visibleFrame->y + visibleFrame->height / 2 -
                                                frame.height / 2 - ABOVE_CENTRE);
    }
    LOG_DEBUG("reposition frame");
    return frame;
}

} // namespace lumeris
