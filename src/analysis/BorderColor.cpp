#include "analysis/BorderColor.h"

#include "base/Logger.h"
#include "base/NumberText.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace lumeris {

namespace {

using Pixel = BorderColor::Pixel;

Pixel pixelAt(const RgbaImage& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return {p[0], p[1], p[2], p[3]};
}

// Every channel of `p` within 10 % of the representative's own value: a representative channel
// of 0 admits only 0.
bool similarToRepresentative(const Pixel& p, const Pixel& representative) {
    for (int c = 0; c < 4; ++c) {
        if (std::abs(int(p[c]) - int(representative[c])) > representative[c] * 0.1) {
            return false;
        }
    }
    return true;
}

// The inset scan measures the tolerance against the scanned pixel (5 %), not the band colour.
bool matchesBand(const std::uint8_t* p, const Pixel& band) {
    for (int c = 0; c < 4; ++c) {
        if (std::abs(int(band[c]) - int(p[c])) > p[c] * 0.05) {
            return false;
        }
    }
    return true;
}

bool columnMatches(const RgbaImage& image, int x, const Pixel& band) {
    for (int y = 0; y < image.height; ++y) {
        if (!matchesBand(image.at(x, y), band)) {
            return false;
        }
    }
    return true;
}

bool rowMatches(const RgbaImage& image, int y, const Pixel& band) {
    for (int x = 0; x < image.width; ++x) {
        if (!matchesBand(image.at(x, y), band)) {
            return false;
        }
    }
    return true;
}

// Top row, right column, bottom row, left column: every corner appears twice.
std::vector<Pixel> edgePixels(const RgbaImage& image) {
    const int w = image.width;
    const int h = image.height;
    std::vector<Pixel> edge;
    edge.reserve(2 * static_cast<std::size_t>(w) + 2 * static_cast<std::size_t>(h));
    for (int x = 0; x < w; ++x) {
        edge.push_back(pixelAt(image, x, 0));
    }
    for (int y = 0; y < h; ++y) {
        edge.push_back(pixelAt(image, w - 1, y));
    }
    for (int x = 0; x < w; ++x) {
        edge.push_back(pixelAt(image, x, h - 1));
    }
    for (int y = 0; y < h; ++y) {
        edge.push_back(pixelAt(image, 0, y));
    }
    return edge;
}

std::string insetsText(const EdgeInsets& insets) {
    return "{left: " + NumberText::format(insets.left) +
           ", right: " + NumberText::format(insets.right) +
           ", top: " + NumberText::format(insets.top) +
           ", bottom: " + NumberText::format(insets.bottom) + "}";
}

} // namespace

std::string BorderColor::key(const Pixel& pixel) {
    char text[10];
    std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", pixel[0], pixel[1], pixel[2], pixel[3]);
    return text;
}

bool BorderColor::hasTransparentCorners(const RgbaImage& image) {
    if (image.empty()) {
        return false;
    }
    const int right = image.width - 1;
    const int bottom = image.height - 1;
    return image.at(0, 0)[3] == 0 && image.at(right, 0)[3] == 0 && image.at(0, bottom)[3] == 0 &&
           image.at(right, bottom)[3] == 0;
}

BorderColor::EdgeColor BorderColor::dominantEdgeColor(const RgbaImage& image) {
    struct Group {
        Pixel representative;
        int count = 0;
    };
    // Groups in the order their representatives appeared: that order decides which similar
    // group takes a pixel (the earliest) and how equal counts are ranked. A key is its pixel's
    // four bytes, so known keys are looked up by the packed pixel and formatted only once.
    std::vector<Group> groups;
    std::unordered_map<std::uint32_t, std::size_t> known;
    auto packed = [](const Pixel& p) {
        return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
               std::uint32_t(p[3]);
    };

    for (const Pixel& p : edgePixels(image)) {
        const std::uint32_t k = packed(p);
        auto found = known.find(k);
        if (found != known.end()) {
            // An exact repeat of a representative counts here and again below.
            ++groups[found->second].count;
        }
        auto similar = std::find_if(groups.begin(), groups.end(), [&](const Group& group) {
            return similarToRepresentative(p, group.representative);
        });
        if (similar == groups.end()) {
            known.emplace(k, groups.size());
            groups.push_back({p, 1});
        } else {
            ++similar->count;
        }
    }

    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group& a, const Group& b) { return a.count > b.count; });
    EdgeColor result;
    if (groups.empty()) {
        return result;
    }
    result.key = key(groups[0].representative);
    result.pixel = groups[0].representative;
    result.count = groups[0].count;
    if (groups.size() == 1) {
        result.dominant = true;
    } else {
        result.secondCount = groups[1].count;
        result.dominant = groups[0].count / groups[1].count > 9;
    }
    return result;
}

EdgeInsets BorderColor::edgeInsets(const RgbaImage& image, const Pixel& color) {
    EdgeInsets insets;
    const int w = image.width;
    const int h = image.height;
    for (int x = 0; x < w; ++x) {
        if (!columnMatches(image, x, color)) {
            insets.left = x;
            break;
        }
    }
    // The right and bottom counts include the first differing column or row.
    for (int x = w - 1; x >= 0; --x) {
        if (!columnMatches(image, x, color)) {
            insets.right = w - x;
            break;
        }
    }
    for (int y = 0; y < h; ++y) {
        if (!rowMatches(image, y, color)) {
            insets.top = y;
            break;
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        if (!rowMatches(image, y, color)) {
            insets.bottom = h - y;
            break;
        }
    }
    return insets;
}

BorderAnalysis BorderColor::analyze(const RgbaImage& image, double pointWidth, double pointHeight) {
    if (pointWidth * pointHeight > MAX_AREA) {
        LOG_DEBUG("skip border color for image [" + NumberText::format(pointWidth) + ":" +
                  NumberText::format(pointHeight) + "]");
        return {};
    }
    if (image.empty()) {
        return {};
    }
    // The pixels arrive already decoded to straight RGBA; the line keeps the diagnostic the
    // analysis has always written.
    const auto started = std::chrono::steady_clock::now();
    const RgbaImage& pixels = image;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    LOG_DEBUG("Time elapsed for [" + NumberText::format(pointWidth) + ":" +
              NumberText::format(pointHeight) +
              "] image init: " + NumberText::format(elapsed.count()) + "s.");

    BorderAnalysis result;
    if (hasTransparentCorners(pixels)) {
        result.windowCapture = true;
        return result;
    }
    EdgeColor edge = dominantEdgeColor(pixels);
    result.color = edge.key;
    if (!edge.dominant) {
        return result;
    }
    result.detected = true;
    result.insets = edgeInsets(pixels, edge.pixel);
    LOG_DEBUG("edge: " + insetsText(result.insets));
    return result;
}

BorderAnalysis BorderColor::getBorderColor(const LoadedImage& image) {
    return analyze(image.image, image.pointWidth, image.pointHeight);
}

} // namespace lumeris
