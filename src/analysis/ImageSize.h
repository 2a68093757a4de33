#pragma once

#include <string>

namespace lumeris {

// The canvas for one layout: the screenshot with its inset band and padding, an optional
// watermark line, stretched to an aspect ratio ("16:9") or set to an exact size ("1200x675").
// Computed once in the constructor; the diagnostic lines of the computation go to stdout.
class ImageSize {
public:
    static constexpr double MAX_EFFECTIVE_WIDTH = 2000.0;
    static constexpr double HEIGHT_WINDOW_PADDING = 150.0;
    static constexpr double WIDTH_WINDOW_PADDING = 350.0;
    static constexpr double MIN_WINDOW_WIDTH = 1200.0;
    static constexpr double MIN_WINDOW_HEIGHT = 600.0;
    static constexpr double MAX_WINDOW_WIDTH = 1500.0;
    static constexpr double MAX_WINDOW_HEIGHT = 1000.0;
    // The watermark's 10-point top margin plus its 15-point line.
    static constexpr double WATERMARK_HEIGHT = 25.0;

    ImageSize(int inset, int padding, const std::string& ratioValue,
              const std::string& watermarkText, double width, double height);

    double effectiveWidth = 0;
    double effectiveHeight = 0;
    double bgWidth = 0;
    double bgHeight = 0;
    double minWindowWidth = 0;
    double minWindowHeight = 0;
    double ratio = 0;
};

} // namespace lumeris
