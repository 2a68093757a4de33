#include "ui/NumberEntry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace lumeris {

namespace {

constexpr std::string_view BLANKS = " \t\n\r";
constexpr std::string_view LABEL_PREFIX = "Enter from 0 to ";

// Slider values are doubles; anything beyond int is out of reach of a typed number anyway.
int wholeNumber(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(value),
                                       static_cast<double>(std::numeric_limits<int>::min()),
                                       static_cast<double>(std::numeric_limits<int>::max())));
}

} // namespace

std::optional<int> NumberEntry::parse(std::string_view text) {
    auto first = text.find_first_not_of(BLANKS);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(BLANKS) - first + 1);
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') {
            return std::nullopt;
        }
    }
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string NumberEntry::labelText(int maximum) {
    return std::string(LABEL_PREFIX) + std::to_string(maximum);
}

std::optional<NumberEntry::Contents> NumberEntry::contents(std::string_view fieldName,
                                                           const NumberEntryDelegate& delegate) {
    auto field = numberEntryField(fieldName);
    if (!field) {
        return std::nullopt;
    }
    double value = delegate.sliderValue(*field);
    int maximum = wholeNumber(delegate.sliderMaximum(*field));
    bool whole = std::isfinite(value) && std::trunc(value) == value;
    return Contents{std::to_string(whole ? wholeNumber(value) : 0), maximum, labelText(maximum)};
}

bool NumberEntry::apply(std::string_view fieldName, std::string_view text,
                        NumberEntryDelegate* delegate) {
    auto field = numberEntryField(fieldName);
    auto value = parse(text);
    if (delegate == nullptr || !field || !value) {
        return false;
    }
    delegate->numberEntered(*field, *value);
    return true;
}

} // namespace lumeris
