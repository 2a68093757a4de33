#include "render/EditorDocument.h"

#include "analysis/ImageSize.h"
#include "base/NumberText.h"
#include "base/ResourceLocator.h"
#include "render/BackgroundCatalogue.h"
#include "render/BackgroundPictures.h"
#include "render/ShadowPicture.h"
#include "render/TextEscaping.h"
#include "settings/SettingKeys.h"

#include <cmath>
#include <utility>

namespace lumeris {

namespace {

std::string shadowLayer(double offset, double blur, const std::string& alpha) {
    return NumberText::format(offset) + "px " + NumberText::format(blur) + "px rgba(0,0,0," +
           alpha + ")";
}

// Six layers whose strength follows one value; the order of operations is part of the output
// (shadow 33 gives alpha 0.11600000000000002).
std::string boxShadow(int value) {
    const std::string alphaText = NumberText::format(ShadowPicture::alpha(value));
    std::string text = "  box-shadow: 0 ";
    bool first = true;
    for (const ShadowPicture::Layer& layer : ShadowPicture::layers(value)) {
        if (!std::exchange(first, false)) {
            text += ",\n              0 ";
        }
        text += shadowLayer(layer.offset, layer.blur, alphaText);
    }
    return text + ";";
}

// Ends the document's inline script: logs its arrival and turns double clicks outside
// selections, annotations and redaction mode into the "dblclick" event.
constexpr const char* INLINE_SCRIPT = R"(    console.log("Loaded");
    function triggerDblClick() {
      if (window.webkit && window.webkit.messageHandlers && window.webkit.messageHandlers.events) {
        window.webkit.messageHandlers.events.postMessage({name: 'dblclick'});
      }
    }
    document.addEventListener('dblclick', function (event) {
      const target = event.target;
      if (target && target.id === 'target') {
        triggerDblClick();
        return;
      }
      const selection = window.getSelection();
      if (selection && selection.type === 'Range') {
        return;
      }
      if (target && target.classList && target.classList.contains('draggable')) {
        return;
      }
      if (document.body.classList.contains('redact-mode')) {
        return;
      }
      triggerDblClick();
    });
)";

// A ring in bounding-box units: the inner circle (radius 0.3) counter-clockwise, then the outer
// one (radius 0.5) clockwise, so that only the band between them clips under the non-zero rule.
constexpr const char* OVAL_PATH =
    "M0.5 0.2 C0.334315 0.2 0.2 0.334315 0.2 0.5 C0.2 0.665685 0.334315 0.8 0.5 0.8 "
    "C0.665685 0.8 0.8 0.665685 0.8 0.5 C0.8 0.334315 0.665685 0.2 0.5 0.2 Z "
    "M0.5 0 C0.776142 0 1 0.223858 1 0.5 C1 0.776142 0.776142 1 0.5 1 "
    "C0.223858 1 0 0.776142 0 0.5 C0 0.223858 0.223858 0 0.5 0 Z";

void appendRects(std::string& out, const std::vector<Rect>& rects, bool redacted,
                 double imageHeight) {
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (i > 0) {
            out += '\n';
        }
        out += EditorDocument::redactionRect(redacted, rects[i], imageHeight);
    }
}

} // namespace

EditorDocument::RectangleLists
EditorDocument::rectangleLists(bool autoRedactEnabled, const std::vector<Rect>& redactRects,
                               const std::vector<Rect>& allTextRects) {
    if (autoRedactEnabled) {
        return {redactRects, allTextRects};
    }
    RectangleLists lists{{}, allTextRects};
    lists.text.insert(lists.text.end(), redactRects.begin(), redactRects.end());
    return lists;
}

std::string EditorDocument::styleSheet(const StyleSheetInputs& inputs) {
    return styleSheet(inputs, BackgroundPictures::shared());
}

std::string EditorDocument::styleSheet(const StyleSheetInputs& in, BackgroundPictures& pictures) {
    const bool hasWatermark = !in.watermarkText.empty();
    const double band = hasWatermark ? ImageSize::WATERMARK_HEIGHT : 0.0;
    const double ratioWidth = static_cast<double>(in.inset) + in.inset + in.imageWidth;
    const double ratioHeight = (static_cast<double>(in.inset) + in.inset + in.imageHeight) + band;
    const ImageSize size(in.inset, in.padding, in.ratio, in.watermarkText, in.imageWidth,
                         in.imageHeight);
    const std::string insetColor =
        in.insetEnabled && in.borderColor ? *in.borderColor : std::string("transparent");
    // Only an opaque colour may hide text; anything else (translucent, a word, a fragment of
    // style sheet) is the default.
    const std::string redactionFill =
        SettingKeys::isColour(in.redactColor) ? in.redactColor : std::string("black");
    const std::string background = BackgroundCatalogue::declarations(in, pictures);

    std::string css;
    css.reserve(4096 + background.size());
    css += "html, body {\n  margin: 0;\n  padding: 0;\n  overflow: hidden;\n}\n\n";
    css += ".rects svg rect {\n  fill: " + redactionFill + " !important;\n}\n\n";
    css += ".rects svg rect.redacted {\n  fill-opacity: 1 !important;\n  opacity: 1 !important;\n"
           "  visibility: visible !important;\n}\n\n";
    css += "* {\n  box-sizing: border-box;\n}\n\n";
    css += ".container {\n  display: flex;\n  justify-content: center;\n  align-items: center;\n"
           "  height: 100vh;\n  width: 100vw;\n}\n\n";
    css += ".background {\n  /*\n"
           "  2023-01-01 Note: macOS Ventura has a bug with dragging on WebView. Disable this "
           "feature for now.\n"
           "  cursor: -webkit-grab;\n  cursor: grab;\n  */\n"
           "  -webkit-user-select: none;\n  user-select: none;\n  width: 100vw;\n"
           "  height: 100vh;\n  display: flex;\n  justify-content: center;\n"
           "  align-items: center;\n";
    css += "  padding: " + NumberText::format(in.padding) + "px;\n";
    css += "  " + background + "\n}\n\n";
    css += ".wrapper {\n  cursor: auto;\n  cursor: auto;\n  -webkit-user-select: auto;\n"
           "  user-select: auto;\n  display: flex;\n  flex-direction: column;\n"
           "  justify-content: center;\n  align-items: center;\n  max-height: 100%;\n"
           "  max-width: 100%;\n";
    css += "  aspect-ratio: " + NumberText::format(ratioWidth) + " / " +
           NumberText::format(ratioHeight) + ";\n}\n\n";
    css += ".image {\n  position: relative;\n";
    css += "  border-radius: " + NumberText::format(in.borderRadius) + "px;\n";
    // The pre-blurred picture where it can serve; the box is the picture and its inset band.
    std::optional<std::string> shadowPicture;
    if (in.shadowPictureScale > 0) {
        shadowPicture = ShadowPicture::borderImage(
            in.shadow, in.borderRadius, in.shadowPictureScale, size.effectiveWidth + 2.0 * in.inset,
            size.effectiveHeight + 2.0 * in.inset, ResourceLocator::rendererDataFolder(),
            in.shadowPictureMaxSide);
    }
    css += shadowPicture.value_or(boxShadow(in.shadow)) + "\n";
    css += "  padding: " + NumberText::format(in.inset) + "px;\n  overflow: hidden;\n";
    css += "  background: " + insetColor + ";\n";
    css += "  transform-style: preserve-3d;\n";
    css += "  transform: perspective(500px) rotateX(" + NumberText::format(in.tiltX - 15) +
           "deg) rotateY(" + NumberText::format(in.tiltY - 15) + "deg);\n";
    // The band and the watermark line keep their size when a ratio shrinks the picture, so the
    // column is taller than the wrapper: the picture must not give way (it would be cut, and the
    // redaction boxes, laid over its box, would shift against its text).
    css += "  flex-shrink: 0;\n}\n\n";
    css += ".rects {\n  position: absolute;\n  top: 0;\n  right: 0;\n  bottom: 0;\n  left: 0;\n";
    css += "  padding: " + NumberText::format(in.inset) + "px;\n";
    css += "  pointer-events: none;\n}\n\n";
    css += "img {\n  max-width: " + NumberText::format(size.effectiveWidth) + "px;\n";
    // A block, so that no line gap below it makes the box the rectangles are laid over taller.
    css += "  width: 100%;\n  display: block;\n}\n\n";
    css += ".watermark {\n  cursor: default;\n  user-select: none;\n  -webkit-user-select: none;\n"
           "  user-select: none;\n  text-align: right;\n"
           "  font-family: -apple-system, BlinkMacSystemFont, \"Segoe UI\", Roboto, Helvetica, "
           "Arial, sans-serif, \"Apple Color Emoji\", \"Segoe UI Emoji\", \"Segoe UI Symbol\";\n"
           "  color: #fff;\n  text-shadow: 1px 1px 1px #000;\n  font-weight: 400;\n"
           "  font-size: 12px;\n  opacity: 0.8;\n  position: relative;\n  margin-top: 10px;\n"
           "  height: 15px;\n  width: 100%;\n  z-index: 100;\n";
    css += hasWatermark ? "  \n}" : "  display: none;\n}";
    return css;
}

std::string EditorDocument::redactionRect(bool redacted, const Rect& rect, double imageHeight) {
    const double width = std::fabs(rect.width);
    const double height = std::fabs(rect.height);
    std::string text = "<rect\n";
    text += redacted ? "  class=\"text-rects redacted\"\n" : "  class=\"text-rects \"\n";
    text += "  onclick=\"this.classList.toggle('redacted')\"\n";
    text += "  fill=\"black\"\n";
    text += "  fill-opacity=\"0\"\n";
    text += "  x=\"" + NumberText::format(rect.x) + "\"\n";
    text += "  y=\"" + NumberText::format((imageHeight - rect.y) - height) + "\"\n";
    text += "  width=\"" + NumberText::format(width) + "\"\n";
    text += "  height=\"" + NumberText::format(height) + "\"\n";
    text += "/>";
    return text;
}

std::string EditorDocument::html(std::string_view styleText, std::string_view watermarkText,
                                 std::string_view imageData, const std::vector<Rect>& redactedRects,
                                 const std::vector<Rect>& textRects, double imageWidth,
                                 double imageHeight) {
    const std::string style = TextEscaping::styleElement(styleText);
    const std::string watermark = TextEscaping::html(watermarkText);

    std::string doc;
    doc.reserve(imageData.size() + style.size() + 4096 +
                (redactedRects.size() + textRects.size()) * 200);
    doc += "  <html>\n  <head>\n  <style id=\"injected-style\">\n  ";
    doc += style;
    doc += "\n  </style>\n"
           "  <meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n"
           "  <link rel=\"stylesheet\" href=\"draw.css\">\n"
           "  </head>\n  \n  <body>\n"
           "  <div id=\"target\" class=\"background\">\n"
           "    <div class=\"wrapper\">\n"
           "      <div class=\"image\">\n"
           "        <img draggable=\"false\" src=\"";
    // Base64 never holds a colon, so a URL cannot be mistaken for image data.
    if (!imageData.starts_with("file:")) {
        doc += "data:image/png;base64,";
    }
    doc += imageData;
    doc += "\" />\n        ";
    if (!redactedRects.empty() || !textRects.empty()) {
        doc += "<div id=\"rects\" class=\"rects\">\n"
               "<svg style=\"width: 100%; height: 100%\" viewBox=\"0 0 ";
        doc += NumberText::format(imageWidth) + " " + NumberText::format(imageHeight);
        doc += "\" xmlns=\"http://www.w3.org/2000/svg\">\n  ";
        appendRects(doc, redactedRects, true, imageHeight);
        appendRects(doc, textRects, false, imageHeight);
        doc += "\n</svg>\n</div>";
    }
    doc += "\n      </div>\n"
           "      <div id=\"watermark\" class=\"watermark\">\n        ";
    doc += watermark;
    doc += "\n      </div>\n    </div>\n  </div>\n  \n"
           "  <div id=\"draw-canvas\">\n  </div>\n\n"
           "  <script src=\"text.js\"></script>\n"
           "  <script src=\"arrow.js\"></script>\n"
           "  <script src=\"redact.js\"></script>\n"
           "  <script src=\"shape.js\"></script>\n"
           "  <script src=\"draw.js\"></script>\n\n"
           "  <script>\n";
    doc += INLINE_SCRIPT;
    doc += "  </script>\n\n"
           "  <svg width=\"100%\" height=\"100%\">\n"
           "    <defs>\n"
           "      <clipPath id=\"oval\"  clipPathUnits=\"objectBoundingBox\">\n"
           "        <path d=\"";
    doc += OVAL_PATH;
    doc += "\" fill=\"#D9D9D9\"/>\n"
           "      </clipPath>\n"
           "    </defs>\n"
           "  </svg>\n"
           "  </body>";
    return doc;
}

std::string EditorDocument::restyleScript(std::string_view styleText,
                                          std::string_view watermarkText) {
    // The same style element text as the document carries, then escaped for the literal.
    const std::string style = TextEscaping::templateLiteral(TextEscaping::styleElement(styleText));
    std::string script;
    script.reserve(style.size() + watermarkText.size() + 400);
    script += "try {\n  document.getElementById('injected-style').innerHTML = `\n    ";
    script += style;
    script += "\n  `;\n  document.getElementById('watermark').innerText = \"";
    script += TextEscaping::javaScriptString(watermarkText);
    script += "\";\n  document.getElementById('target').getBoundingClientRect();\n"
              "} catch (e) {\n  console.error(\"Script failed\", e.message, e.stack);\n}";
    return script;
}

} // namespace lumeris
