#pragma once

#include "base/Rect.h"
#include "base/RgbaImage.h"

#include <string>
#include <vector>

// Synthetic screenshots for recognition tests and benchmarks: lines of text drawn with Pango, with
// the box of every character kept so a test can ask where any piece of text was drawn.
struct ScreenshotStyle {
    std::string font = "DejaVu Sans";
    double pointSize = 13; // pixels are points × scale
    bool dark = false;
    double scale = 1;
};

class Screenshot {
public:
    // `pointWidth` × `pointHeight` points, lines from the top-left with a 20-point margin and
    // 1.8 × font size between baselines. A line may hold tabs to spread words as in a table.
    static Screenshot paint(const std::vector<std::string>& lines, const ScreenshotStyle& style,
                            int pointWidth, int pointHeight);

    const lumeris::RgbaImage& image() const { return image_; }
    double pointWidth() const { return pointWidth_; }
    double scale() const { return style_.scale; }
    const std::vector<std::string>& lines() const { return lines_; }

    // Pixel box (top-left origin, full line height) of the first `needle` in line `line`.
    lumeris::Rect boxOf(std::size_t line, const std::string& needle) const;
    // A rectangle in points with a lower-left origin (as detection reports them) in pixels with
    // a top-left origin.
    lumeris::Rect toPixels(const lumeris::Rect& points) const;
    // Whether pixel (x, y) differs clearly from the background.
    bool isInk(int x, int y) const;

private:
    lumeris::RgbaImage image_;
    ScreenshotStyle style_;
    double pointWidth_ = 0;
    std::vector<std::string> lines_;
    std::vector<std::vector<lumeris::Rect>> glyphBoxes_; // per line, per byte index
};
