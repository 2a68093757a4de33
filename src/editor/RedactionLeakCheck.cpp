#include "editor/RedactionLeakCheck.h"

#include "base/ColorText.h"
#include "editor/TextDetection.h"
#include "settings/SettingKeys.h"

#include <algorithm>
#include <cmath>

namespace lumeris {

std::optional<int> RedactionLeakCheck::cover(TextRecognizer& recognizer, RgbaImage& picture,
                                             const std::vector<std::string>& patterns,
                                             const std::string& colour, double margin,
                                             std::string* error) {
    if (patterns.empty()) {
        return 0;
    }
    // Points are pixels here: the rectangles come back in the picture's own pixels.
    auto found = TextDetection::detect(recognizer, picture, picture.width, patterns, error);
    if (!found) {
        return std::nullopt;
    }
    const std::uint32_t rgb =
        SettingKeys::isColour(colour) ? ColorText::parseHexColor(colour).value_or(0) : 0;
    for (const Rect& rect : found->redactRects) {
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
    return static_cast<int>(found->redactRects.size());
}

} // namespace lumeris
