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
    // Style texts carry picture data URLs of hundreds of kilobytes: copy runs, not characters.
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c != '`' && c != '\\' && c != '$' && c != '\r') {
            continue;
        }
        out.append(text, start, at - start);
        start = at + 1;
        if (c == '\r') {
            out += "\\r";
        } else if (c == '$' && (at + 1 >= text.size() || text[at + 1] != '{')) {
            out += '$';
        } else {
            out += '\\';
            out += c;
        }
    }
    out.append(text, start);
    return out;
}

std::string TextEscaping::styleElement(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t start = 0;
    for (auto at = text.find("</"); at != std::string_view::npos; at = text.find("</", at + 2)) {
        out.append(text, start, at + 1 - start);
        out += '\\';
        start = at + 1;
    }
    out.append(text, start);
    return out;
}

} // namespace lumeris
