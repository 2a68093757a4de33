#include "editor/SecondReading.h"

#include "analysis/TextRecognizer.h"
#include "base/Logger.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace lumeris {

namespace {

std::vector<std::pair<int, int>> ranges(const icu::UnicodeString& text, const char* pattern) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(
        icu::UnicodeString::fromUTF8(pattern), UREGEX_CASE_INSENSITIVE, parseError, status));
    std::vector<std::pair<int, int>> found;
    if (U_FAILURE(status) || !compiled) {
        LOG_ERROR("pattern {} does not compile: {}", pattern, u_errorName(status));
        return found;
    }
    std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(text, status));
    while (matcher && U_SUCCESS(status) && matcher->find(status) && U_SUCCESS(status)) {
        const int start = matcher->start(status);
        const int end = matcher->end(status);
        if (U_SUCCESS(status) && end > start) {
            found.emplace_back(start, end);
        }
    }
    return found;
}

int count(const icu::UnicodeString& text, int start, int end, bool (*wanted)(char16_t)) {
    int found = 0;
    for (int i = start; i < end; ++i) {
        found += wanted(text.charAt(i)) ? 1 : 0;
    }
    return found;
}

// Normalised (0…1, lower-left origin) to pixels with a top-left origin, grown by `margin`
// and kept within the bitmap.
Rect topLeftPixels(const Rect& unit, const RgbaImage& bitmap, double margin) {
    const double left = std::max(0.0, std::floor(unit.x * bitmap.width - margin));
    const double right =
        std::min<double>(bitmap.width, std::ceil(unit.maxX() * bitmap.width + margin));
    const double top = std::max(0.0, std::floor((1.0 - unit.maxY()) * bitmap.height - margin));
    const double bottom =
        std::min<double>(bitmap.height, std::ceil((1.0 - unit.y) * bitmap.height + margin));
    return {left, top, std::max(0.0, right - left), std::max(0.0, bottom - top)};
}

} // namespace

std::vector<std::pair<int, int>> SecondReading::unmatchedShapes(const std::string& text,
                                                                const RedactionRule& rule) {
    const icu::UnicodeString units = icu::UnicodeString::fromUTF8(text);
    const auto matches = ranges(units, rule.pattern);
    std::vector<std::pair<int, int>> shapes;
    for (const auto& shape : ranges(units, rule.shape)) {
        const bool matched = std::any_of(matches.begin(), matches.end(), [&](const auto& match) {
            return match.first < shape.second && shape.first < match.second;
        });
        const auto digit = [](char16_t c) {
            return c >= u'0' && c <= u'9';
        };
        const auto visible = [](char16_t c) {
            return c != u' ';
        };
        if (!matched && count(units, shape.first, shape.second, digit) >= rule.shapeDigits &&
            count(units, shape.first, shape.second, visible) >= rule.shapeLength) {
            shapes.push_back(shape);
        }
    }
    return shapes;
}

RgbaImage SecondReading::prepared(const RgbaImage& bitmap, const Rect& topLeft, int factor) {
    const int x0 = static_cast<int>(topLeft.x);
    const int y0 = static_cast<int>(topLeft.y);
    const int width = static_cast<int>(topLeft.width);
    const int height = static_cast<int>(topLeft.height);
    std::vector<int> grey(static_cast<std::size_t>(width) * height);
    long long sum = 0;
    int lowest = 255;
    int highest = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = bitmap.at(x0 + x, y0 + y);
            const int luma = (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
            const int value = (luma * p[3] + 255 * (255 - p[3])) / 255;
            grey[static_cast<std::size_t>(y) * width + x] = value;
            sum += value;
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
        }
    }
    // The ground is what most of a line is: text on a dark ground is turned over.
    const bool dark = !grey.empty() && sum / static_cast<long long>(grey.size()) < 128;
    const int span = std::max(1, highest - lowest);
    RgbaImage out(width * factor, height * factor);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int value = (grey[static_cast<std::size_t>(y / factor) * width + x / factor] - lowest) *
                        255 / span;
            value = dark ? 255 - value : value;
            std::uint8_t* p = out.at(x, y);
            p[0] = p[1] = p[2] = static_cast<std::uint8_t>(value);
            p[3] = 255;
        }
    }
    return out;
}

std::vector<Rect> SecondReading::rects(TextRecognizer& recognizer, const RgbaImage& bitmap,
                                       const std::vector<TextObservation>& observations,
                                       const std::vector<const RedactionRule*>& rules) {
    std::vector<Rect> found;
    for (const auto& observation : observations) {
        if (!observation.topCandidate) {
            continue;
        }
        const TextCandidate& candidate = *observation.topCandidate;
        const int length = icu::UnicodeString::fromUTF8(candidate.string()).length();
        for (const RedactionRule* rule : rules) {
            const auto shapes = unmatchedShapes(candidate.string(), *rule);
            const auto line = candidate.boundingBox(0, length);
            if (shapes.empty() || !line) {
                continue;
            }
            // The line with room around it: the first reading's boxes may be off by a glyph.
            const double lineHeight = line->height * bitmap.height;
            const Rect area = topLeftPixels(*line, bitmap, lineHeight / 2);
            std::vector<Rect> confirmed;
            if (area.width > 0 && area.height > 0) {
                const RgbaImage cut = prepared(bitmap, area, ENLARGEMENT);
                const auto again = recognizer.recognize(cut);
                std::string error;
                auto rects = again.failed()
                                 ? std::nullopt
                                 : TextObservation::matchRects(rule->pattern, again.observations,
                                                               cut.width, cut.height, &error);
                // From the enlarged cut (lower-left origin) back to the bitmap.
                const double cutBottom = bitmap.height - (area.y + area.height);
                for (const Rect& rect : rects.value_or(std::vector<Rect>{})) {
                    confirmed.push_back({area.x + rect.x / ENLARGEMENT,
                                         cutBottom + rect.y / ENLARGEMENT, rect.width / ENLARGEMENT,
                                         rect.height / ENLARGEMENT});
                }
            }
            // The look-alike text is covered whatever the second reading says: it may misread
            // the same way.
            for (const auto& [start, end] : shapes) {
                if (const auto box = candidate.boundingBox(start, end)) {
                    confirmed.push_back({box->x * bitmap.width, box->y * bitmap.height,
                                         box->width * bitmap.width, box->height * bitmap.height});
                }
            }
            LOG_INFO("second reading: {} look-alike(s) of a redaction rule's text", shapes.size());
            found.insert(found.end(), confirmed.begin(), confirmed.end());
        }
    }
    return found;
}

} // namespace lumeris
