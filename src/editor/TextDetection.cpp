#include "editor/TextDetection.h"

#include "analysis/TextRecognizer.h"
#include "base/Diagnostics.h"
#include "editor/RedactionRules.h"
#include "editor/SecondReading.h"

#include <algorithm>
#include <iostream>

namespace lumeris {

namespace {

std::vector<Rect> withoutEmpty(const std::vector<Rect>& rects, double scale) {
    std::vector<Rect> kept;
    kept.reserve(rects.size());
    for (const auto& rect : rects) {
        if (rect.area() > 0) {
            kept.push_back(
                {rect.x / scale, rect.y / scale, rect.width / scale, rect.height / scale});
        }
    }
    return kept;
}

} // namespace

std::vector<Rect> TextDetection::rectsForPattern(const std::string& pattern,
                                                 const std::vector<TextObservation>& observations,
                                                 int bitmapWidth, int bitmapHeight) {
    std::string error;
    auto rects =
        TextObservation::matchRects(pattern, observations, bitmapWidth, bitmapHeight, &error);
    if (!rects) {
        Diagnostics::print("Unable to compile pattern " + pattern + ": " + error);
        return {};
    }
    return std::move(*rects);
}

std::vector<std::string>
TextDetection::detectedText(const std::vector<TextObservation>& observations) {
    std::vector<std::string> lines;
    for (const auto& observation : observations) {
        if (observation.topCandidate) {
            lines.push_back(observation.topCandidate->string());
        }
    }
    return lines;
}

std::string TextDetection::joinedText(const std::vector<std::string>& detectedText) {
    std::string joined;
    for (std::size_t i = 0; i < detectedText.size(); ++i) {
        if (i > 0) {
            joined += '\n';
        }
        joined += detectedText[i];
    }
    const auto first = joined.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = joined.find_last_not_of(" \t");
    return joined.substr(first, last - first + 1);
}

Rect TextDetection::shrunk(const Rect& rect) {
    const double inset = (1.0 - SHRINK_FACTOR) / 2.0;
    return {rect.x + inset * rect.width, rect.y + inset * rect.height, SHRINK_FACTOR * rect.width,
            SHRINK_FACTOR * rect.height};
}

bool TextDetection::overlapsShrunk(const Rect& a, const Rect& b) {
    const Rect sa = shrunk(a);
    const Rect sb = shrunk(b);
    return sa.x < sb.maxX() && sb.x < sa.maxX() && sa.y < sb.maxY() && sb.y < sa.maxY();
}

TextDetectionResult
TextDetection::applyTextRecognition(const std::vector<TextObservation>& observations,
                                    int bitmapWidth, int bitmapHeight, double imagePointWidth,
                                    const std::vector<std::string>& patterns,
                                    const std::vector<Rect>& extraRects) {
    TextDetectionResult result;
    result.detectedText = detectedText(observations);
    const double scale =
        imagePointWidth > 0 ? static_cast<double>(bitmapWidth) / imagePointWidth : 1.0;

    for (const auto& pattern : patterns) {
        auto rects =
            withoutEmpty(rectsForPattern(pattern, observations, bitmapWidth, bitmapHeight), scale);
        result.redactRects.insert(result.redactRects.end(), rects.begin(), rects.end());
    }
    const auto extra = withoutEmpty(extraRects, scale);
    result.redactRects.insert(result.redactRects.end(), extra.begin(), extra.end());
    const auto words = withoutEmpty(
        rectsForPattern(TextObservation::WORD_PATTERN, observations, bitmapWidth, bitmapHeight),
        scale);
    for (const auto& word : words) {
        bool covered = false;
        for (const auto& box : result.redactRects) {
            if (overlapsShrunk(word, box)) {
                covered = true;
                break;
            }
        }
        if (!covered) {
            result.allTextRects.push_back(word);
        }
    }
    return result;
}

std::vector<Rect> TextDetection::coveringBoxes(const std::vector<Rect>& redactRects,
                                               double imageWidth, double imageHeight) {
    std::vector<Rect> boxes;
    boxes.reserve(redactRects.size());
    for (const Rect& rect : redactRects) {
        const double left = std::max(0.0, rect.x - REDACTION_MARGIN);
        const double bottom = std::max(0.0, rect.y - REDACTION_MARGIN);
        const double right = std::min(imageWidth, rect.maxX() + REDACTION_MARGIN);
        const double top = std::min(imageHeight, rect.maxY() + REDACTION_MARGIN);
        if (right > left && top > bottom) {
            boxes.push_back({left, bottom, right - left, top - bottom});
        }
    }
    return boxes;
}

std::optional<TextDetectionResult>
TextDetection::detect(TextRecognizer& recognizer, const RgbaImage& image, double imagePointWidth,
                      const std::vector<std::string>& patterns, std::string* error) {
    const auto outcome = recognizer.recognize(image);
    if (outcome.failed()) {
        if (error) {
            *error = *outcome.error;
        }
        return std::nullopt;
    }
    std::vector<const RedactionRule*> rules;
    for (const auto& pattern : patterns) {
        if (const RedactionRule* rule = RedactionRules::ruleOf(pattern)) {
            rules.push_back(rule);
        }
    }
    const auto extra = SecondReading::rects(recognizer, image, outcome.observations, rules);
    return applyTextRecognition(outcome.observations, image.width, image.height, imagePointWidth,
                                patterns, extra);
}

} // namespace lumeris
