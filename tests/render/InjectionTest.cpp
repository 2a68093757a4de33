// Typed texts reach the document as markup and the restyle script as literals: whatever they
// hold, they must stay inside their element or literal, and read back as typed.
#include "render/EditorDocument.h"
#include "render/TextEscaping.h"

#include <gtest/gtest.h>
#include <optional>

using lumeris::EditorDocument;
using lumeris::TextEscaping;

namespace {

// Reads a JavaScript literal body that starts at `from` and ends at the first unescaped
// `quote`: returns its value and the position of the closing quote.
struct Literal {
    std::string value;
    std::size_t end;
};
std::optional<Literal> readLiteral(const std::string& text, std::size_t from, char quote) {
    Literal literal;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (c == quote) {
            literal.end = i;
            return literal;
        }
        if (quote == '`' && c == '$' && i + 1 < text.size() && text[i + 1] == '{') {
            return std::nullopt; // a substitution would run code
        }
        if (c == '\n' && quote == '"') {
            return std::nullopt; // a line break ends a string literal with an error
        }
        if (c != '\\') {
            literal.value += c;
            continue;
        }
        const char next = text.at(++i);
        switch (next) {
        case 'n':
            literal.value += '\n';
            break;
        case 'r':
            literal.value += '\r';
            break;
        case 't':
            literal.value += '\t';
            break;
        case 'u': {
            const int code = std::stoi(text.substr(i + 1, 4), nullptr, 16);
            if (code < 0x80) {
                literal.value += static_cast<char>(code);
            } else { // the escapes written are all below U+10000
                literal.value += static_cast<char>(0xE0 | (code >> 12));
                literal.value += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                literal.value += static_cast<char>(0x80 | (code & 0x3F));
            }
            i += 4;
            break;
        }
        default:
            literal.value += next;
        }
    }
    return std::nullopt;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

const std::vector<std::string> HOSTILE = {
    "\"; alert(1); \"",
    "</div><script>alert(1)</script>",
    "`; alert(1); `",
    "${alert(1)}",
    "\\",
    "a\\\"b",
    "line\nbreak\r\n",
    "tab\there",
    "\x01\x1f",
    "\u2028\u2029",
    "'quoted'",
};

} // namespace

// The watermark stays inside its string literal and the style text inside its template literal.
TEST(Injection, TypedTextsStayInsideTheRestyleLiterals) {
    for (const std::string& hostile : HOSTILE) {
        std::string script = EditorDocument::restyleScript("s", hostile);
        std::string opening = "innerText = \"";
        auto literal = readLiteral(script, script.find(opening) + opening.size(), '"');
        ASSERT_TRUE(literal) << hostile;
        EXPECT_EQ(literal->value, hostile);
        EXPECT_EQ(script.substr(literal->end),
                  "\";\n  document.getElementById('target').getBoundingClientRect();\n"
                  "} catch (e) {\n  console.error(\"Script failed\", e.message, e.stack);\n}");

        script = EditorDocument::restyleScript(hostile, "w");
        opening = "innerHTML = `\n    ";
        literal = readLiteral(script, script.find(opening) + opening.size(), '`');
        ASSERT_TRUE(literal) << hostile;
        EXPECT_EQ(literal->value, TextEscaping::styleElement(hostile) + "\n  ");
        EXPECT_EQ(script.substr(literal->end, 44), "`;\n  document.getElementById('watermark').in");
    }
    EXPECT_EQ(TextEscaping::javaScriptString("a\u2028b\u2029c\n\x01"),
              "a\\u2028b\\u2029c\\n\\u0001");
}

TEST(Injection, WatermarkIsTextInTheDocument) {
    const std::string doc =
        EditorDocument::html("s", "</div><script>alert(1)</script>", "", {}, {}, 10, 10);
    EXPECT_NE(doc.find("\n        &lt;/div&gt;&lt;script&gt;alert(1)&lt;/script&gt;\n"),
              std::string::npos);
    EXPECT_EQ(count(doc, "<script"), 6u); // the five annotation scripts and the inline one
    EXPECT_EQ(count(doc, "</div>"), 5u);
    EXPECT_EQ(TextEscaping::html("\"; alert(1); \" & 'x'"),
              "&quot;; alert(1); &quot; &amp; &#39;x&#39;");
}

TEST(Injection, StyleTextCannotCloseItsElement) {
    const std::string hostile = "a { color: red; }</style><script>alert(1)</script>";
    const std::string doc = EditorDocument::html(hostile, "", "", {}, {}, 10, 10);
    // The one closing tag is the document's own; the script tags before it are style text.
    EXPECT_EQ(count(doc, "</style"), 1u);
    EXPECT_NE(doc.find("a { color: red; }<\\/style><script>alert(1)<\\/script>\n  </style>"),
              std::string::npos);
    // Case does not matter to the parser.
    EXPECT_EQ(TextEscaping::styleElement("</STYLE>"), "<\\/STYLE>");
}

TEST(Injection, OrdinaryTextIsUnchanged) {
    const std::string ordinary = "Shot on 2026-12-06 · Lumeris — 100% (café) #tag @me ~/a/b {x}";
    EXPECT_EQ(TextEscaping::html(ordinary), ordinary);
    EXPECT_EQ(TextEscaping::javaScriptString(ordinary), ordinary);
    EXPECT_EQ(TextEscaping::templateLiteral(ordinary), ordinary);
    EXPECT_EQ(TextEscaping::styleElement(ordinary), ordinary);
    const std::string font = "font-family: \"Segoe UI\", sans-serif; url(\"data:a/b;base64,+/=\")";
    EXPECT_EQ(TextEscaping::templateLiteral(font), font);
    EXPECT_EQ(TextEscaping::templateLiteral("$1 and $ {"), "$1 and $ {");
}
