#include "analysis/TextRangeGeometry.h"

#include <algorithm>
#include <unicode/unistr.h>

namespace lumeris {

TextCandidate TextRangeGeometry::candidate(const RecognisedLine& line, double imageWidth,
                                           double imageHeight) {
    std::string text;
    std::vector<std::optional<Rect>> boxes;
    for (std::size_t w = 0; w < line.words.size(); ++w) {
        if (w > 0 && !line.words[w].joinsPrevious) {
            text += ' ';
            boxes.emplace_back();
        }
        for (const auto& symbol : line.words[w].symbols) {
            const int top = std::min(symbol.top, line.top);
            const int bottom = std::max(symbol.bottom, line.bottom);
            const Rect box{symbol.left / imageWidth, 1.0 - bottom / imageHeight,
                           (symbol.right - symbol.left) / imageWidth, (bottom - top) / imageHeight};
            const icu::UnicodeString units = icu::UnicodeString::fromUTF8(symbol.text);
            for (int i = 0; i < units.length(); ++i) {
                boxes.push_back(box);
            }
            text += symbol.text;
        }
    }
    return TextCandidate(std::move(text), std::move(boxes));
}

} // namespace lumeris
