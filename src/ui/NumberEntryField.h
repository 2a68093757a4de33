#pragma once

#include <optional>
#include <string_view>

namespace lumeris {

// The editor sliders that take a typed number, named by the identifiers of their label buttons.
enum class NumberEntryField { Padding, Inset, Rounded, Shadow };

// "padding", "inset", "rounded" or "shadow"; nothing for any other name.
std::optional<NumberEntryField> numberEntryField(std::string_view name);
std::string_view numberEntryFieldName(NumberEntryField field);

} // namespace lumeris
