#include "editor/RedactionLeakCheck.h"

#include "analysis/ChangedBands.h"
#include "base/ColorText.h"
#include "editor/TextDetection.h"
#include "settings/SettingKeys.h"

#include <algorithm>
#include <cmath>

namespace lumeris {

namespace {

// Past this share of the picture, one reading of the whole costs less than reading its bands.
constexpr double MAX_BAND_SHARE = 0.6;

std::vector<ChangedBands::Band> bandsToRead(const RgbaImage& picture, std::uint32_t rgb,
                                            const RedactionLeakCheck::Reading* first) {
    std::vector<ChangedBands::Band> whole{{0, picture.height}};
    if (first == nullptr) {
        return whole;
    }
    const ChangedBands changes(first->image, first->boxes, rgb);
    const auto at = changes.locate(picture);
    if (!at) {
        return whole;
    }
    auto bands = changes.bands(picture, *at);
    int rows = 0;
    for (const auto& band : bands) {
        rows += band.bottom - band.top;
    }
    return rows > MAX_BAND_SHARE * picture.height ? whole : bands;
}

RgbaImage rowsOf(const RgbaImage& picture, const ChangedBands::Band& band) {
    RgbaImage rows(picture.width, band.bottom - band.top);
    std::copy(picture.at(0, band.top), picture.at(0, band.top) + rows.pixels.size(),
              rows.pixels.begin());
    return rows;
}

} // namespace

RedactionLeakCheck::Reading RedactionLeakCheck::reading(LoadedImage read,
                                                        const std::vector<Rect>& drawnBoxes) {
    const double scale = read.scale();
    Reading result{std::move(read.image), {}};
    for (const Rect& box : drawnBoxes) {
        result.boxes.push_back({box.x * scale, (read.pointHeight - box.maxY()) * scale,
                                box.width * scale, box.height * scale});
    }
    return result;
}

std::optional<int> RedactionLeakCheck::cover(TextRecognizer& recognizer, RgbaImage& picture,
                                             const std::vector<std::string>& patterns,
                                             const std::string& colour, double margin,
                                             std::string* error, const Reading* first) {
    if (patterns.empty()) {
        return 0;
    }
    const std::uint32_t rgb =
        SettingKeys::isColour(colour) ? ColorText::parseHexColor(colour).value_or(0) : 0;
    std::vector<Rect> found;
    for (const auto& band : bandsToRead(picture, rgb, first)) {
        const bool whole = band.top == 0 && band.bottom == picture.height;
        // Points are pixels here: the rectangles come back in the picture's own pixels.
        auto detected =
            whole ? TextDetection::detect(recognizer, picture, picture.width, patterns, error)
                  : TextDetection::detect(recognizer, rowsOf(picture, band), picture.width,
                                          patterns, error);
        if (!detected) {
            return std::nullopt;
        }
        for (Rect rect : detected->redactRects) {
            rect.y += picture.height - band.bottom; // lower-left origin: up from the band's foot
            found.push_back(rect);
        }
    }
    for (const Rect& rect : found) {
        // Lower-left origin to rows from the top.
        const int left = std::max(0, static_cast<int>(std::floor(rect.x - margin)));
        const int right =
            std::min(picture.width, static_cast<int>(std::ceil(rect.maxX() + margin)));
        const int top =
            std::max(0, static_cast<int>(std::floor(picture.height - rect.maxY() - margin)));
        const int bottom =
            std::min(picture.height, static_cast<int>(std::ceil(picture.height - rect.y + margin)));
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                std::uint8_t* p = picture.at(x, y);
                p[0] = static_cast<std::uint8_t>(rgb >> 16);
                p[1] = static_cast<std::uint8_t>(rgb >> 8);
                p[2] = static_cast<std::uint8_t>(rgb);
                p[3] = 255;
            }
        }
    }
    return static_cast<int>(found.size());
}

} // namespace lumeris
