#pragma once

#include "analysis/TextObservation.h"
#include "base/Rect.h"
#include "base/RgbaImage.h"

#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class TextRecognizer;

// What one recognition result means for the editor. Rectangles are in points of the working image,
// origin at the lower-left corner.
struct TextDetectionResult {
    std::vector<std::string> detectedText;
    std::vector<Rect> redactRects;
    std::vector<Rect> allTextRects;
};

// Turns recognised lines into redaction boxes and word rectangles.
class TextDetection {
public:
    static constexpr double SHRINK_FACTOR = 0.7;
    // Around every drawn redaction box, in points (pixels × the image's scale): the engine's
    // symbol boxes may miss a column of a glyph, an underscore or an accent.
    static constexpr double REDACTION_MARGIN = 3.0;

    // Boxes (pixels of a bitmap of the given size, lower-left origin) of every match of `pattern`,
    // compiled case-insensitive, in the top candidates of `observations`, in order. A pattern that
    // does not compile has no matches; a match without a box is skipped.
    static std::vector<Rect> rectsForPattern(const std::string& pattern,
                                             const std::vector<TextObservation>& observations,
                                             int bitmapWidth, int bitmapHeight);

    // The top candidate of every observation that has one.
    static std::vector<std::string> detectedText(const std::vector<TextObservation>& observations);

    // The lines joined with "\n", spaces and tabs trimmed at both ends: what the status menu's
    // history receives (nothing when empty).
    static std::string joinedText(const std::vector<std::string>& detectedText);

    // A rectangle of SHRINK_FACTOR its size around the same centre.
    static Rect shrunk(const Rect& rect);
    // Whether the shrunken rectangles intersect: words that merely touch a redaction box stay text.
    static bool overlapsShrunk(const Rect& a, const Rect& b);

    // Redaction boxes for `patterns` (in order), then `extraRects` (pixels), and word rectangles
    // for the words that no box covers; pixels of the bitmap become points by dividing by bitmap
    // width ÷ image point width.
    static TextDetectionResult
    applyTextRecognition(const std::vector<TextObservation>& observations, int bitmapWidth,
                         int bitmapHeight, double imagePointWidth,
                         const std::vector<std::string>& patterns,
                         const std::vector<Rect>& extraRects = {});

    // The boxes as drawn: grown by REDACTION_MARGIN on every side, within the image.
    static std::vector<Rect> coveringBoxes(const std::vector<Rect>& redactRects, double imageWidth,
                                           double imageHeight);

    // Recognises `image`, reads again the lines where a rule's look-alike shows (SecondReading),
    // and applies the result. Blocks: for worker threads and headless rendering. None, with the
    // reason in `error`, when recognition could not be performed.
    static std::optional<TextDetectionResult> detect(TextRecognizer& recognizer,
                                                     const RgbaImage& image, double imagePointWidth,
                                                     const std::vector<std::string>& patterns,
                                                     std::string* error = nullptr);
};

} // namespace lumeris
