#pragma once

#include "base/Rect.h"
#include "render/StyleSheetInputs.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumeris {

class BackgroundPictures;

// The text the renderer shows: the style sheet every control feeds, the HTML document around
// the screenshot, and the script that restyles a loaded document in place. Pure functions of
// their inputs. Typed texts (watermark, colours) are escaped where they enter markup or a
// script literal; ordinary text comes through unchanged.
class EditorDocument {
public:
    // The redacted and text rectangle lists of a document. With automatic redaction off no
    // rectangle starts out redacted: the sensitive ones join the text list.
    struct RectangleLists {
        std::vector<Rect> redacted;
        std::vector<Rect> text;
    };
    static RectangleLists rectangleLists(bool autoRedactEnabled,
                                         const std::vector<Rect>& redactRects,
                                         const std::vector<Rect>& allTextRects);

    // The text of the style element "injected-style". The built-in picture backgrounds come
    // from `pictures`.
    static std::string styleSheet(const StyleSheetInputs& inputs, BackgroundPictures& pictures);
    // The same with the built-in pictures of the resources folder.
    static std::string styleSheet(const StyleSheetInputs& inputs);

    // The whole document. `imageData` is the screenshot's PNG in Base64 (empty when absent) or
    // the file URL of a picture; rectangles are in image points with a bottom-left origin.
    static std::string html(std::string_view styleText, std::string_view watermarkText,
                            std::string_view imageData, const std::vector<Rect>& redactedRects,
                            const std::vector<Rect>& textRects, double imageWidth,
                            double imageHeight);

    // One SVG rect element, flipped to the SVG's top-left origin.
    static std::string redactionRect(bool redacted, const Rect& rect, double imageHeight);

    // Replaces the style element's text and the watermark's text of a loaded document.
    static std::string restyleScript(std::string_view styleText, std::string_view watermarkText);
};

} // namespace lumeris
