#include "analysis/LayoutLines.h"

#include <algorithm>
#include <cstddef>

namespace lumeris {

namespace {

using Box = LayoutLines::Box;

bool sameRow(const Box& a, const Box& b) {
    const int overlap = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    const int lower = std::min(a.bottom - a.top, b.bottom - b.top);
    const int taller = std::max(a.bottom - a.top, b.bottom - b.top);
    const int gap = std::max(a.left, b.left) - std::min(a.right, b.right);
    return overlap * 2 >= lower && gap <= 3 * taller;
}

void include(Box& into, const Box& box) {
    into.left = std::min(into.left, box.left);
    into.top = std::min(into.top, box.top);
    into.right = std::max(into.right, box.right);
    into.bottom = std::max(into.bottom, box.bottom);
}

} // namespace

int LayoutLines::Line::textHeight() const {
    if (words.empty()) {
        return box.bottom - box.top;
    }
    Box extent = words.front();
    for (const Box& word : words) {
        include(extent, word);
    }
    return extent.bottom - extent.top;
}

std::vector<LayoutLines::Line> LayoutLines::joinRows(std::vector<Line> lines) {
    // Until nothing joins: a piece can reach another only once it has grown.
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t i = 0; i < lines.size() && !joined; ++i) {
            for (std::size_t j = i + 1; j < lines.size() && !joined; ++j) {
                if (!sameRow(lines[i].box, lines[j].box)) {
                    continue;
                }
                Line& row = lines[i];
                include(row.box, lines[j].box);
                row.words.insert(row.words.end(), lines[j].words.begin(), lines[j].words.end());
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(j));
                joined = true;
            }
        }
    }
    for (Line& row : lines) {
        std::stable_sort(row.words.begin(), row.words.end(),
                         [](const Box& a, const Box& b) { return a.left < b.left; });
    }
    return lines;
}

double LayoutLines::readingScale(int textHeight, int smallest, int enlargement) {
    if (textHeight < smallest) {
        return std::max(1, enlargement);
    }
    return textHeight >= 2 * smallest ? 0.5 : 1.0;
}

} // namespace lumeris
