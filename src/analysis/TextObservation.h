#pragma once

#include "base/Rect.h"

#include <optional>
#include <string>
#include <vector>

namespace lumeris {

// The best reading of one recognised line, with the box of every UTF-16 code unit (the unit the
// regex engine counts in), normalised to the image: 0…1 on both axes, origin at the lower-left.
// Units without ink (the spaces between words) have no box.
class TextCandidate {
public:
    TextCandidate() = default;
    TextCandidate(std::string text, std::vector<std::optional<Rect>> unitBoxes)
        : text_(std::move(text)), unitBoxes_(std::move(unitBoxes)) {}

    // UTF-8.
    const std::string& string() const { return text_; }

    // The union of the boxes of the units in [start, end); none when no unit there has one.
    std::optional<Rect> boundingBox(int start, int end) const;

private:
    std::string text_;
    std::vector<std::optional<Rect>> unitBoxes_;
};

// One line of text as the recogniser saw it. A line it could not read has no candidate.
struct TextObservation {
    // A word: a run of anything but white space.
    static constexpr const char* WORD_PATTERN = "\\S+";

    std::optional<TextCandidate> topCandidate;

    // Boxes in pixels of a bitmap of the given size (lower-left origin) of every match of
    // `pattern` (ICU syntax, compiled case-insensitive) in the top candidates, in order; a match
    // without a box is skipped. None, with the reason in `error`, when the pattern does not
    // compile.
    static std::optional<std::vector<Rect>>
    matchRects(const std::string& pattern, const std::vector<TextObservation>& observations,
               int bitmapWidth, int bitmapHeight, std::string* error = nullptr);
};

// Either the observations in reading order, or why recognition could not be performed.
struct TextRecognitionOutcome {
    std::optional<std::string> error;
    std::vector<TextObservation> observations;

    static TextRecognitionOutcome failure(std::string message) {
        TextRecognitionOutcome outcome;
        outcome.error = std::move(message);
        return outcome;
    }
    bool failed() const { return error.has_value(); }
};

} // namespace lumeris
