#include "analysis/ChangedBands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace lumeris {

namespace {

constexpr int ANCHORS = 64;
// An anchor is an edge: a pixel this far from its left neighbour in some channel, so that a
// flat area cannot match anywhere.
constexpr int ANCHOR_CONTRAST = 24;

bool samePixel(const std::uint8_t* a, const std::uint8_t* b, int tolerance) {
    for (int c = 0; c < 4; ++c) {
        if (std::abs(a[c] - b[c]) > tolerance) {
            return false;
        }
    }
    return true;
}

bool sameRun(const std::uint8_t* a, const std::uint8_t* b, int pixels) {
    if (std::memcmp(a, b, static_cast<std::size_t>(pixels) * 4) == 0) {
        return true;
    }
    for (int i = 0; i < pixels; ++i) {
        if (!samePixel(a + 4 * i, b + 4 * i, ChangedBands::TOLERANCE)) {
            return false;
        }
    }
    return true;
}

// Each channel of `p` between those of `a` and `b`: an antialiased edge of one over the other.
bool between(const std::uint8_t* p, const std::uint8_t* a, const std::uint8_t* b) {
    for (int c = 0; c < 4; ++c) {
        if (p[c] + ChangedBands::TOLERANCE < std::min(a[c], b[c]) ||
            p[c] > std::max(a[c], b[c]) + ChangedBands::TOLERANCE) {
            return false;
        }
    }
    return true;
}

} // namespace

ChangedBands::ChangedBands(const RgbaImage& image, const std::vector<Rect>& boxes,
                           std::uint32_t boxRgb)
    : image_(image), boxColour_{static_cast<std::uint8_t>(boxRgb >> 16),
                                static_cast<std::uint8_t>(boxRgb >> 8),
                                static_cast<std::uint8_t>(boxRgb), 255} {
    for (const Rect& box : boxes) {
        // A pixel of slack outside for the edge's antialiasing, and inside for rounding.
        const auto outer = [](double v, int slack) {
            return static_cast<int>(std::floor(v)) - slack;
        };
        const auto inner = [](double v, int slack) {
            return static_cast<int>(std::ceil(v)) + slack;
        };
        boxes_.push_back({outer(box.x, 1), outer(box.y, 1), inner(box.maxX(), 1),
                          inner(box.maxY(), 1), inner(box.x, 1), inner(box.y, 1),
                          outer(box.maxX(), 1), outer(box.maxY(), 1)});
    }
}

const ChangedBands::PixelBox* ChangedBands::boxAt(int x, int y) const {
    for (const PixelBox& box : boxes_) {
        if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) {
            return &box;
        }
    }
    return nullptr;
}

bool ChangedBands::accounted(const std::uint8_t* p, int x, int y) const {
    const std::uint8_t* q = image_.at(x, y);
    const PixelBox* box = boxAt(x, y);
    if (box == nullptr) {
        return samePixel(p, q, TOLERANCE);
    }
    if (x >= box->innerLeft && x < box->innerRight && y >= box->innerTop && y < box->innerBottom) {
        return samePixel(p, boxColour_, TOLERANCE); // a box that is missing or see-through leaks
    }
    return between(p, q, boxColour_);
}

std::optional<ChangedBands::Position> ChangedBands::locate(const RgbaImage& picture) const {
    if (image_.empty() || image_.width > picture.width || image_.height > picture.height) {
        return std::nullopt;
    }
    // Edges spread over the image: at most one a row, from a column that moves across the
    // width, none under a box; then evenly thinned out.
    std::vector<Position> edges;
    const int rows = std::min(image_.height, ANCHORS * 8);
    for (int k = 0; k < rows; ++k) {
        const int y = static_cast<int>((2LL * k + 1) * image_.height / (2LL * rows));
        const int start =
            static_cast<int>(static_cast<long long>(k * 41 % ANCHORS) * image_.width / ANCHORS);
        for (int i = 0; i < image_.width; ++i) {
            const int x = (start + i) % image_.width;
            if (x > 0 && boxAt(x, y) == nullptr &&
                !samePixel(image_.at(x, y), image_.at(x - 1, y), ANCHOR_CONTRAST)) {
                edges.push_back({x, y});
                break;
            }
        }
    }
    if (edges.size() < ANCHORS / 8) {
        return std::nullopt; // too plain to place; and a plain image is quickly read again
    }
    std::vector<Position> anchors;
    for (std::size_t i = 0; i < ANCHORS && i < edges.size(); ++i) {
        anchors.push_back(edges[i * edges.size() / std::min<std::size_t>(ANCHORS, edges.size())]);
    }
    // Rounded corners and clipping cover a few anchors where the image does lie.
    int fewestMisses = static_cast<int>(anchors.size()) / 8 + 1;
    std::optional<Position> best;
    for (int y = 0; y + image_.height <= picture.height; ++y) {
        for (int x = 0; x + image_.width <= picture.width; ++x) {
            int misses = 0;
            for (const Position& a : anchors) {
                if (!samePixel(picture.at(x + a.x, y + a.y), image_.at(a.x, a.y), TOLERANCE) &&
                    ++misses >= fewestMisses) {
                    break;
                }
            }
            if (misses < fewestMisses) {
                fewestMisses = misses;
                best = Position{x, y};
            }
        }
    }
    return best;
}

std::vector<ChangedBands::Band> ChangedBands::bands(const RgbaImage& picture, Position at) const {
    const int top = std::max(0, at.y);
    const int bottom = std::min(picture.height, at.y + image_.height);
    const int left = std::max(0, at.x);
    const int right = std::min(picture.width, at.x + image_.width);
    if (top >= bottom || left >= right) {
        return {{0, picture.height}};
    }
    const auto rowsEqual = [&](int a, int b) {
        return sameRun(picture.at(left, a), picture.at(left, b), right - left);
    };
    std::vector<bool> changed(static_cast<std::size_t>(picture.height), true);
    for (int y = top; y < bottom; ++y) {
        const int iy = y - at.y;
        const bool boxed = std::any_of(boxes_.begin(), boxes_.end(), [iy](const PixelBox& box) {
            return iy >= box.top && iy < box.bottom;
        });
        if (!boxed) {
            changed[y] = !sameRun(picture.at(left, y), image_.at(left - at.x, iy), right - left);
            continue;
        }
        bool same = true;
        for (int x = left; x < right && same; ++x) {
            same = accounted(picture.at(x, y), x - at.x, iy);
        }
        changed[y] = !same;
    }
    std::vector<Band> result;
    for (int y = 0; y < picture.height;) {
        if (!changed[y]) {
            ++y;
            continue;
        }
        Band band{y, y};
        while (band.bottom < picture.height && changed[band.bottom]) {
            ++band.bottom;
        }
        y = band.bottom;
        // Out to a gap between lines, within the image, where two neighbouring rows agree.
        const int first = band.top;
        while (band.top > top && first - band.top < MAX_GROWTH &&
               !rowsEqual(band.top - 1, band.top)) {
            --band.top;
        }
        const int last = band.bottom;
        while (band.bottom < bottom && band.bottom - last < MAX_GROWTH &&
               !rowsEqual(band.bottom - 1, band.bottom)) {
            ++band.bottom;
        }
        if (!result.empty() && band.top <= result.back().bottom) {
            result.back().bottom = std::max(result.back().bottom, band.bottom);
        } else {
            result.push_back(band);
        }
    }
    return result;
}

} // namespace lumeris
