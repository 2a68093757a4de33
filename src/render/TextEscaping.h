#pragma once

#include <string>
#include <string_view>

namespace lumeris {

// Escapes for the places typed text enters the editor's document and scripts. Each leaves
// ordinary text (letters, digits, spaces, punctuation without special meaning there) unchanged,
// and makes sure no text can end its context early and run script.
struct TextEscaping {
    // Character data and attribute values of the HTML document: & < > " ' as entities.
    static std::string html(std::string_view text);

    // The body of a double-quoted JavaScript string literal: backslash, double quote, line
    // terminators (including U+2028 and U+2029) and other control characters as escapes.
    static std::string javaScriptString(std::string_view text);

    // The body of a JavaScript template literal: backquote, backslash and "${" escaped, carriage
    // returns written as \r so that the literal's value is exactly the text.
    static std::string templateLiteral(std::string_view text);

    // Style sheet text inside a <style> element: "</" cannot close the element, so it is written
    // "<\/", which CSS reads back as the same characters inside strings and as a harmless
    // escape elsewhere.
    static std::string styleElement(std::string_view text);
};

} // namespace lumeris
