#include "render/EditorDocument.h"

#include <gtest/gtest.h>

using lumeris::EditorDocument;
using lumeris::Rect;

namespace {

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

} // namespace

// Typed texts are escaped: the style so that it cannot close its element, the watermark as markup.
// The rest of the frame is what the renderer tests load and draw.
TEST(EditorDocument, DocumentHoldsItsPartsInOrder) {
    const std::string doc = EditorDocument::html("a</style>", "<b>", "QUJD", {{10, 10, 50, 20}},
                                                 {{0, 180, 300, 20}}, 300, 200);
    std::size_t at = 0;
    for (const char* part : {
             "<style id=\"injected-style\">\n  a<\\/style>\n  </style>",
             "<link rel=\"stylesheet\" href=\"draw.css\">",
             "<div id=\"target\" class=\"background\">",
             "<img draggable=\"false\" src=\"data:image/png;base64,QUJD\" />",
             "viewBox=\"0 0 300.0 200.0\"",
             // y flipped into the top-left origin: 200 - 10 - 20.
             "class=\"text-rects redacted\"",
             "  x=\"10.0\"\n  y=\"170.0\"\n  width=\"50.0\"\n  height=\"20.0\"\n",
             "class=\"text-rects \"",
             "<div id=\"watermark\" class=\"watermark\">\n        &lt;b&gt;\n      </div>",
             "<div id=\"draw-canvas\">",
             "<script src=\"text.js\"></script>\n  <script src=\"arrow.js\"></script>\n"
             "  <script src=\"redact.js\"></script>\n  <script src=\"shape.js\"></script>\n"
             "  <script src=\"draw.js\"></script>",
             "console.log(\"Loaded\")",
             "postMessage({name: 'dblclick'})",
             "'redact-mode'",
             "<clipPath id=\"oval\"  clipPathUnits=\"objectBoundingBox\">",
         }) {
        at = doc.find(part, at);
        ASSERT_NE(at, std::string::npos) << part << " in order in\n" << doc;
    }
    EXPECT_TRUE(doc.ends_with("</svg>\n  </body>"));
}

TEST(EditorDocument, RectangleListsAndTheirMarkup) {
    // With automatic redaction off no rectangle starts out redacted: all join the text list.
    const std::vector<Rect> sensitive = {{1, 1, 1, 1}}, all = {{2, 2, 2, 2}, {3, 3, 3, 3}};
    auto on = EditorDocument::rectangleLists(true, sensitive, all);
    EXPECT_EQ(std::pair(on.redacted, on.text), std::pair(sensitive, all));
    auto off = EditorDocument::rectangleLists(false, sensitive, all);
    EXPECT_TRUE(off.redacted.empty());
    EXPECT_EQ(off.text, (std::vector<Rect>{{2, 2, 2, 2}, {3, 3, 3, 3}, {1, 1, 1, 1}}));

    const std::string doc = EditorDocument::html("s", "", "", all, off.text, 10, 10.5);
    EXPECT_NE(doc.find("viewBox=\"0 0 10.0 10.5\""), std::string::npos);
    EXPECT_EQ(count(doc, "/>\n<rect"), 3u);
    EXPECT_EQ(count(doc, "class=\"text-rects redacted\""), 2u);
    // Negative sizes are drawn by magnitude, y flipped into the top-left origin.
    EXPECT_NE(EditorDocument::redactionRect(true, {0.1, 0.5, -3, -4}, 10)
                  .find("  y=\"5.5\"\n  width=\"3.0\"\n  height=\"4.0\"\n"),
              std::string::npos);
}

// The style is escaped for its element, then for the template literal; the watermark for a string.
TEST(EditorDocument, RestyleScriptReadsExactly) {
    EXPECT_EQ(EditorDocument::restyleScript("a {\n  b: `${c}`;\n}</style>", "\"By\"\n"),
              "try {\n"
              "  document.getElementById('injected-style').innerHTML = `\n"
              "    a {\n  b: \\`\\${c}\\`;\n}<\\\\/style>\n"
              "  `;\n"
              "  document.getElementById('watermark').innerText = \"\\\"By\\\"\\n\";\n"
              "  document.getElementById('target').getBoundingClientRect();\n"
              "} catch (e) {\n"
              "  console.error(\"Script failed\", e.message, e.stack);\n"
              "}");
}
