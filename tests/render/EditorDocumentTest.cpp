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
TEST(EditorDocument, CompleteDocumentReadsExactlyAsWrittenByHand) {
    const std::string doc = EditorDocument::html("a</style>", "<b>", "QUJD", {{10, 10, 50, 20}},
                                                 {{0, 180, 300, 20}}, 300, 200);
    const std::string head = R"DOC(  <html>
  <head>
  <style id="injected-style">
  a<\/style>
  </style>
  <meta name="viewport" content="width=device-width, initial-scale=1" />
  <link rel="stylesheet" href="draw.css">
  </head>
  
  <body>
  <div id="target" class="background">
    <div class="wrapper">
      <div class="image">
        <img draggable="false" src="data:image/png;base64,QUJD" />
        <div id="rects" class="rects">
<svg style="width: 100%; height: 100%" viewBox="0 0 300.0 200.0" xmlns="http://www.w3.org/2000/svg">
  <rect
  class="text-rects redacted"
  onclick="this.classList.toggle('redacted')"
  fill="black"
  fill-opacity="0"
  x="10.0"
  y="170.0"
  width="50.0"
  height="20.0"
/><rect
  class="text-rects "
  onclick="this.classList.toggle('redacted')"
  fill="black"
  fill-opacity="0"
  x="0.0"
  y="0.0"
  width="300.0"
  height="20.0"
/>
</svg>
</div>
      </div>
      <div id="watermark" class="watermark">
        &lt;b&gt;
      </div>
    </div>
  </div>
  
  <div id="draw-canvas">
  </div>

  <script src="text.js"></script>
  <script src="arrow.js"></script>
  <script src="redact.js"></script>
  <script src="shape.js"></script>
  <script src="draw.js"></script>

  <script>
)DOC";
    ASSERT_TRUE(doc.starts_with(head)) << doc;
    // The inline script and the ring's control points are ours to choose; the frame is not.
    const auto scriptEnd = doc.find("  </script>\n\n  <svg width=\"100%\" height=\"100%\">\n"
                                    "    <defs>\n"
                                    "      <clipPath id=\"oval\"  "
                                    "clipPathUnits=\"objectBoundingBox\">\n        <path d=\"M");
    ASSERT_NE(scriptEnd, std::string::npos);
    EXPECT_TRUE(doc.ends_with("Z\" fill=\"#D9D9D9\"/>\n      </clipPath>\n    </defs>\n"
                              "  </svg>\n  </body>"));
    const std::string script = doc.substr(head.size(), scriptEnd - head.size());
    for (const char* part :
         {"console.log(\"Loaded\")", "postMessage({name: 'dblclick'})", "'redact-mode'"}) {
        EXPECT_NE(script.find(part), std::string::npos) << part;
    }
}

TEST(EditorDocument, RectangleListsAndTheirMarkup) {
    // No rectangles and no watermark leave their lines as eight spaces.
    std::string doc = EditorDocument::html("s", "", "", {}, {}, 1440, 900);
    EXPECT_NE(doc.find("base64,\" />\n        \n      </div>\n"), std::string::npos);
    EXPECT_NE(doc.find("class=\"watermark\">\n        \n      </div>"), std::string::npos);

    // With automatic redaction off no rectangle starts out redacted: all join the text list.
    const std::vector<Rect> sensitive = {{1, 1, 1, 1}}, all = {{2, 2, 2, 2}, {3, 3, 3, 3}};
    auto on = EditorDocument::rectangleLists(true, sensitive, all);
    EXPECT_EQ(std::pair(on.redacted, on.text), std::pair(sensitive, all));
    auto off = EditorDocument::rectangleLists(false, sensitive, all);
    EXPECT_TRUE(off.redacted.empty());
    EXPECT_EQ(off.text, (std::vector<Rect>{{2, 2, 2, 2}, {3, 3, 3, 3}, {1, 1, 1, 1}}));

    doc = EditorDocument::html("s", "", "", all, off.text, 10, 10.5);
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
