// Typed texts reach the document as markup and the restyle script as literals: whatever they
// hold, they must stay inside their element or literal; ordinary text passes unchanged. The
// document tests show each text going through its escaping.
#include "render/TextEscaping.h"

#include <gtest/gtest.h>

using lumeris::TextEscaping;

TEST(Injection, HostileTextsAreEscapedForTheirContext) {
    struct Case {
        const char* name;
        std::string (*escape)(std::string_view);
        std::string text;
        std::string escaped;
    };
    const Case cases[] = {
        {"html", TextEscaping::html, "</div><script>\"x\" & 'y'",
         "&lt;/div&gt;&lt;script&gt;&quot;x&quot; &amp; &#39;y&#39;"},
        {"string quotes", TextEscaping::javaScriptString, "\"; alert(1); \"\\'",
         "\\\"; alert(1); \\\"\\\\'"},
        // Line terminators would end the literal with an error, U+2028/9 in older engines too.
        {"string controls", TextEscaping::javaScriptString, "a\u2028b\u2029c\n\r\t\x01\x1f\x7f",
         "a\\u2028b\\u2029c\\n\\r\\t\\u0001\\u001F\\u007F"},
        {"template", TextEscaping::templateLiteral, "`; ${alert(1)} \\ \r\n",
         "\\`; \\${alert(1)} \\\\ \\r\n"},
        // Only "${" starts a substitution.
        {"template dollars", TextEscaping::templateLiteral, "$1 and $ { $", "$1 and $ { $"},
        {"style", TextEscaping::styleElement, "a</style><script></STYLE>",
         "a<\\/style><script><\\/STYLE>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.escape(c.text), c.escaped) << c.name;
    }
    const std::string ordinary = "Shot on 2026-12-06 · Lumeris — 100% (café) #tag @me ~/a/b {x}";
    for (auto escape : {TextEscaping::html, TextEscaping::javaScriptString,
                        TextEscaping::templateLiteral, TextEscaping::styleElement}) {
        EXPECT_EQ(escape(ordinary), ordinary);
    }
}
