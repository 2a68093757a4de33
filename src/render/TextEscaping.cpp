#include "render/TextEscaping.h"

#include <cstdio>

namespace lumeris {

std::string TextEscaping::html(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string TextEscaping::javaScriptString(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04X", c);
                out += escape;
            } else if (c == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x80' &&
                       (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
                // U+2028 and U+2029 end a line inside older engines' string literals.
                out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
                i += 2;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

std::string TextEscaping::templateLiteral(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '`' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '$' && i + 1 < text.size() && text[i + 1] == '{') {
            out += "\\$";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::string TextEscaping::styleElement(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '/') {
            out += '\\';
        }
    }
    return out;
}

} // namespace lumeris
