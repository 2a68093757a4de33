#include "analysis/TextObservation.h"

#include <algorithm>
#include <memory>
#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace lumeris {

std::optional<Rect> TextCandidate::boundingBox(int start, int end) const {
    start = std::max(start, 0);
    end = std::min(end, static_cast<int>(unitBoxes_.size()));
    std::optional<Rect> box;
    for (int i = start; i < end; ++i) {
        const auto& unit = unitBoxes_[static_cast<std::size_t>(i)];
        if (!unit) {
            continue;
        }
        if (!box) {
            box = *unit;
            continue;
        }
        const double minX = std::min(box->x, unit->x);
        const double minY = std::min(box->y, unit->y);
        const double maxX = std::max(box->maxX(), unit->maxX());
        const double maxY = std::max(box->maxY(), unit->maxY());
        box = Rect{minX, minY, maxX - minX, maxY - minY};
    }
    return box;
}

std::optional<std::vector<Rect>>
TextObservation::matchRects(const std::string& pattern,
                            const std::vector<TextObservation>& observations, int bitmapWidth,
                            int bitmapHeight, std::string* error) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(
        icu::UnicodeString::fromUTF8(pattern), UREGEX_CASE_INSENSITIVE, parseError, status));
    if (U_FAILURE(status) || !compiled) {
        if (error != nullptr) {
            *error = std::string(u_errorName(status)) + " at offset " +
                     std::to_string(parseError.offset);
        }
        return std::nullopt;
    }
    std::vector<Rect> rects;
    for (const auto& observation : observations) {
        if (!observation.topCandidate) {
            continue;
        }
        const auto& candidate = *observation.topCandidate;
        const icu::UnicodeString text = icu::UnicodeString::fromUTF8(candidate.string());
        status = U_ZERO_ERROR;
        std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(text, status));
        if (U_FAILURE(status) || !matcher) {
            continue;
        }
        while (matcher->find(status) && U_SUCCESS(status)) {
            const int start = matcher->start(status);
            const int end = matcher->end(status);
            if (U_FAILURE(status)) {
                break;
            }
            if (const auto box = candidate.boundingBox(start, end)) {
                rects.push_back({box->x * bitmapWidth, box->y * bitmapHeight,
                                 box->width * bitmapWidth, box->height * bitmapHeight});
            }
        }
    }
    return rects;
}

} // namespace lumeris
