#include "analysis/ImageSize.h"

#include "base/Diagnostics.h"
#include "base/Logger.h"
#include "base/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

namespace lumeris {

namespace {

struct Canvas {
    double width;
    double height;
    double ratio;
};

std::vector<std::string_view> splitDroppingEmpty(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end > start) {
            pieces.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return pieces;
}

// A plain decimal integer: an optional sign and digits, nothing else, within 64 bits.
std::optional<std::int64_t> parseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::pair<double, double>> parsePair(std::string_view text, char separator) {
    auto pieces = splitDroppingEmpty(text, separator);
    if (pieces.size() != 2) {
        return std::nullopt;
    }
    auto first = parseInteger(pieces[0]);
    auto second = parseInteger(pieces[1]);
    if (!first || !second) {
        return std::nullopt;
    }
    return std::pair{static_cast<double>(*first), static_cast<double>(*second)};
}

bool isWhole(double value) {
    return std::floor(value) == value;
}

// A side must be a positive, finite number that fits a signed 64-bit integer.
bool isUsableSide(double side) {
    return std::isfinite(side) && side > 0 && side < 9.2e18;
}

std::optional<Canvas> ratioCanvas(const std::string& ratioValue, double aw, double ah) {
    double rw = aw;
    double rh = ah;
    if (auto pair = parsePair(ratioValue, ':')) {
        std::tie(rw, rh) = *pair;
    }
    if (rw <= 0 || rh <= 0) {
        return std::nullopt;
    }
    double ratio = rw / rh;
    if (ratio == 1.0) {
        double side = std::max(aw, ah);
        return Canvas{side, side, ratio};
    }
    if (ratio >= aw / ah) {
        double i = -1;
        for (int step = 0; step < 200; ++step) {
            if (isWhole(rw * (ah + step) / rh)) {
                i = step;
                break;
            }
        }
        Diagnostics::print("ImageSize: heightAdjustment: " + NumberText::format(i));
        double height = ah + i;
        return Canvas{height * ratio, height, ratio};
    }
    double i = -1;
    for (int step = 0; step < 200; ++step) {
        if (isWhole(rh * ((aw + step) / rw))) {
            i = step;
            break;
        }
    }
    Diagnostics::print("ImageSize: widthAdjustment: " + NumberText::format(i));
    double width = aw + i;
    return Canvas{width, width / ratio, ratio};
}

std::optional<Canvas> exactCanvas(const std::string& ratioValue) {
    auto pair = parsePair(ratioValue, 'x');
    if (!pair || pair->first <= 0 || pair->second <= 0) {
        return std::nullopt;
    }
    return Canvas{pair->first, pair->second, pair->first / pair->second};
}

} // namespace

ImageSize::ImageSize(int inset, int padding, const std::string& ratioValue,
                     const std::string& watermarkText, double width, double height) {
    if (std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0) {
        effectiveWidth = std::min(width, MAX_EFFECTIVE_WIDTH);
        effectiveHeight = effectiveWidth * height / width;
    } else {
        LOG_ERROR("Screenshot size {} x {} cannot be laid out", width, height);
    }

    double wm = watermarkText.empty() ? 0.0 : WATERMARK_HEIGHT;
    double aw = 2.0 * inset + (effectiveWidth + 2.0 * padding);
    double ah = effectiveHeight + 2.0 * inset + 2.0 * padding + wm;

    std::optional<Canvas> canvas;
    if (ratioValue != "auto") {
        if (ratioValue.find(':') != std::string::npos) {
            canvas = ratioCanvas(ratioValue, aw, ah);
        } else if (ratioValue.find('x') != std::string::npos) {
            canvas = exactCanvas(ratioValue);
        }
        if (canvas && !(isUsableSide(canvas->width) && isUsableSide(canvas->height))) {
            LOG_ERROR("Ratio \"{}\" gives an unusable canvas {} x {}; using the automatic size",
                      ratioValue, canvas->width, canvas->height);
            canvas.reset();
        } else if (!canvas && (ratioValue.find(':') != std::string::npos ||
                               ratioValue.find('x') != std::string::npos)) {
            LOG_DEBUG("Ratio \"{}\" is not usable; using the automatic size", ratioValue);
        }
    }
    if (!canvas) {
        canvas = Canvas{aw, ah, aw / ah};
    }
    bgWidth = canvas->width;
    bgHeight = canvas->height;
    ratio = canvas->ratio;

    double actual = bgWidth / bgHeight;
    Diagnostics::print("ImageSize: double check: ratioValue: " + ratioValue +
                       " actual: " + NumberText::format(actual) +
                       ", error: " + NumberText::format(ratio - actual));
    if (bgWidth - std::floor(bgWidth) > 0 || bgHeight - std::floor(bgHeight) > 0) {
        Diagnostics::print("ImageSize: ⚠️ fraction size warning: width: " +
                           NumberText::format(bgWidth) + " x " + NumberText::format(bgHeight));
    }

    minWindowWidth =
        std::min(std::max(bgWidth + WIDTH_WINDOW_PADDING, MIN_WINDOW_WIDTH), MAX_WINDOW_WIDTH);
    minWindowHeight =
        std::min(std::max(bgHeight + HEIGHT_WINDOW_PADDING, MIN_WINDOW_HEIGHT), MAX_WINDOW_HEIGHT);
}

} // namespace lumeris
