#pragma once

#include "analysis/TextObservation.h"
#include "base/Rect.h"
#include "base/RgbaImage.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

// One word of a wrapped layout: where it was cut from and where it goes.
struct WrappedWord {
    Rect source;  // pixels of the input, origin top-left
    double x = 0; // left edge in the canvas, pixels
    double y = 0; // bottom edge, pixels above the canvas bottom
    int row = 1;
};

struct TextWrapLayout {
    double totalWidth = 0;
    double avgHeight = 0;
    double estimatedHeight = 0;
    std::vector<WrappedWord> words;
};

// Smart text wrap: the words of a wide, low screenshot laid out again in a narrow block.
class TextWrapper {
public:
    static constexpr double CANVAS_WIDTH = 600.0;
    static constexpr double ROW_LIMIT = 580.0;
    static constexpr double WORD_GAP = 5.0;
    static constexpr double ROW_GAP = 20.0;
    static constexpr double TEXT_PER_ROW = 620.0;
    static constexpr double EXTRA_HEIGHT = 100.0;

    // Word boxes in pixels of the input, origin top-left, in observation and match order.
    static std::vector<Rect> wordRects(const std::vector<TextObservation>& observations,
                                       int bitmapWidth, int bitmapHeight);

    // Per word, the vertical shift that keeps the words of one text line at their heights.
    static std::vector<double> yOffsets(const std::vector<Rect>& words, double imageScale);

    // None when there are no words. Words that cannot be cut out of a bitmap of the given size
    // are left out and take no room.
    static std::optional<TextWrapLayout> layout(const std::vector<Rect>& words, bool useYOffset,
                                                double imageScale, int bitmapWidth,
                                                int bitmapHeight);

    // The wrapped image, CANVAS_WIDTH × estimated height pixels filled with `borderColor`
    // (#RRGGBB; white when it does not parse); the input unchanged when recognition failed or
    // found no words.
    static RgbaImage wrapIt(const TextRecognitionOutcome& outcome, const RgbaImage& input,
                            bool useYOffset, double imageScale, const std::string& borderColor);
    static void wrapIt(const TextRecognitionOutcome& outcome, const RgbaImage& input,
                       bool useYOffset, double imageScale, const std::string& borderColor,
                       const std::function<void(RgbaImage)>& callback);

    // The pixel rectangle `wordRects` cuts for a word; none when it falls outside the image.
    static std::optional<Rect> cropRect(const Rect& word, int bitmapWidth, int bitmapHeight);
};

} // namespace lumeris
