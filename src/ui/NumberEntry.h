#pragma once

#include "ui/NumberEntryDelegate.h"

#include <optional>
#include <string>
#include <string_view>

namespace lumeris {

// The display-free half of the number-entry popover: what it shows for a field and what typing
// a number does.
class NumberEntry {
public:
    // What the popover shows when it opens for a field.
    struct Contents {
        std::string text;
        int maximum = 0;
        std::string label;
    };

    // A non-empty decimal integer, optionally signed, with surrounding blanks allowed (a pasted
    // " 7" means 7). Fractions, letters and numbers beyond int do not parse.
    static std::optional<int> parse(std::string_view text);

    // "Enter from 0 to " + maximum.
    static std::string labelText(int maximum);

    // The slider's value for a field, its maximum and the label; nothing for a name that is no
    // field. A slider value that is not a whole number starts the entry at 0.
    static std::optional<Contents> contents(std::string_view fieldName,
                                            const NumberEntryDelegate& delegate);

    // Hands a typed integer to the delegate; true when it did. The range is the slider's to
    // enforce, so out-of-range integers are passed on.
    static bool apply(std::string_view fieldName, std::string_view text,
                      NumberEntryDelegate* delegate);
};

} // namespace lumeris
