#include "analysis/TextObservation.h"

#include <algorithm>

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

} // namespace lumeris
