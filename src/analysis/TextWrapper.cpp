#include "analysis/TextWrapper.h"

#include "base/Logger.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace lumeris {

namespace {

std::array<std::uint8_t, 4> parseHexColor(const std::string& text) {
    std::array<std::uint8_t, 4> white{255, 255, 255, 255};
    if (text.size() != 7 || text[0] != '#') {
        return white;
    }
    std::array<std::uint8_t, 4> color{0, 0, 0, 255};
    for (int channel = 0; channel < 3; ++channel) {
        int value = 0;
        for (int digit = 0; digit < 2; ++digit) {
            const char c = text[1 + static_cast<std::size_t>(channel * 2 + digit)];
            int nibble;
            if (c >= '0' && c <= '9') {
                nibble = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                nibble = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                nibble = c - 'A' + 10;
            } else {
                return white;
            }
            value = value * 16 + nibble;
        }
        color[static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(value);
    }
    return color;
}

} // namespace

std::vector<Rect> TextWrapper::wordRects(const std::vector<TextObservation>& observations,
                                         int bitmapWidth, int bitmapHeight) {
    std::vector<Rect> words;
    for (Rect rect : TextObservation::matchRects(TextObservation::WORD_PATTERN, observations,
                                                 bitmapWidth, bitmapHeight)
                         .value_or(std::vector<Rect>{})) {
        if (rect.area() > 0) {
            rect.y = bitmapHeight - rect.y - rect.height;
            words.push_back(rect);
        }
    }
    return words;
}

std::vector<double> TextWrapper::yOffsets(const std::vector<Rect>& words, double imageScale) {
    std::vector<double> offsets;
    offsets.reserve(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0 && words[i].x >= words[i - 1].x) {
            offsets.push_back((words[i].y - words[i - 1].y) * imageScale);
        } else {
            offsets.push_back(0.0);
        }
    }
    return offsets;
}

std::optional<Rect> TextWrapper::cropRect(const Rect& word, int bitmapWidth, int bitmapHeight) {
    const double left = std::max(0.0, std::floor(word.x));
    const double top = std::max(0.0, std::floor(word.y));
    const double right = std::min(static_cast<double>(bitmapWidth), std::ceil(word.maxX()));
    const double bottom = std::min(static_cast<double>(bitmapHeight), std::ceil(word.maxY()));
    if (right <= left || bottom <= top) {
        return std::nullopt;
    }
    return Rect{left, top, right - left, bottom - top};
}

std::optional<TextWrapLayout> TextWrapper::layout(const std::vector<Rect>& words, bool useYOffset,
                                                  double imageScale, int bitmapWidth,
                                                  int bitmapHeight) {
    if (words.empty()) {
        return std::nullopt;
    }
    TextWrapLayout result;
    double heights = 0;
    for (const auto& word : words) {
        result.totalWidth += word.width;
        heights += word.height;
    }
    result.avgHeight = heights / static_cast<double>(words.size());
    result.estimatedHeight =
        std::ceil(std::ceil(result.totalWidth / TEXT_PER_ROW) * (result.avgHeight + ROW_GAP)) +
        EXTRA_HEIGHT;
    LOG_DEBUG("totalWidth: {}, avgHeight: {}, estimatedHeight: {}", result.totalWidth,
              result.avgHeight, result.estimatedHeight);

    const auto offsets = yOffsets(words, imageScale);
    int row = 1;
    double x = WORD_GAP;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Rect& word = words[i];
        if (!cropRect(word, bitmapWidth, bitmapHeight)) {
            continue;
        }
        if (x + word.width > ROW_LIMIT) {
            ++row;
            x = WORD_GAP;
        }
        const double y = result.estimatedHeight - row * word.height - (row - 1) * ROW_GAP -
                         (useYOffset ? offsets[i] : 0.0);
        result.words.push_back({word, x, y, row});
        x += word.width + WORD_GAP;
    }
    return result;
}

RgbaImage TextWrapper::wrapIt(const TextRecognitionOutcome& outcome, const RgbaImage& input,
                              bool useYOffset, double imageScale, const std::string& borderColor) {
    if (outcome.failed() || input.empty()) {
        return input;
    }
    const auto words = wordRects(outcome.observations, input.width, input.height);
    const auto plan = layout(words, useYOffset, imageScale, input.width, input.height);
    if (!plan) {
        return input;
    }
    const int canvasWidth = static_cast<int>(CANVAS_WIDTH);
    const int canvasHeight = static_cast<int>(plan->estimatedHeight);
    RgbaImage canvas(canvasWidth, canvasHeight);
    const auto fill = parseHexColor(borderColor);
    for (std::size_t i = 0; i < canvas.pixels.size(); i += 4) {
        std::memcpy(&canvas.pixels[i], fill.data(), 4);
    }
    for (const auto& word : plan->words) {
        const auto crop = cropRect(word.source, input.width, input.height);
        const int srcX = static_cast<int>(crop->x);
        const int srcY = static_cast<int>(crop->y);
        const int width = static_cast<int>(crop->width);
        const int height = static_cast<int>(crop->height);
        // The bottom edge is measured upwards from the canvas bottom; rows of RgbaImage go down.
        const int dstX = static_cast<int>(std::lround(word.x));
        const int dstY = static_cast<int>(std::lround(canvasHeight - word.y - word.source.height));
        for (int row = 0; row < height; ++row) {
            const int y = dstY + row;
            if (y < 0 || y >= canvasHeight) {
                continue;
            }
            const int firstColumn = std::max(0, -dstX);
            const int lastColumn = std::min(width, canvasWidth - dstX);
            if (lastColumn <= firstColumn) {
                continue;
            }
            std::memcpy(canvas.at(dstX + firstColumn, y), input.at(srcX + firstColumn, srcY + row),
                        static_cast<std::size_t>(lastColumn - firstColumn) * 4);
        }
    }
    return canvas;
}

void TextWrapper::wrapIt(const TextRecognitionOutcome& outcome, const RgbaImage& input,
                         bool useYOffset, double imageScale, const std::string& borderColor,
                         const std::function<void(RgbaImage)>& callback) {
    if (callback) {
        callback(wrapIt(outcome, input, useYOffset, imageScale, borderColor));
    }
}

} // namespace lumeris
