#include "ui/NumberEntryField.h"

#include <array>
#include <utility>

namespace lumeris {

namespace {

constexpr std::array<std::pair<NumberEntryField, std::string_view>, 4> NAMES{{
    {NumberEntryField::Padding, "padding"},
    {NumberEntryField::Inset, "inset"},
    {NumberEntryField::Rounded, "rounded"},
    {NumberEntryField::Shadow, "shadow"},
}};

} // namespace

std::optional<NumberEntryField> numberEntryField(std::string_view name) {
    for (const auto& [field, fieldName] : NAMES) {
        if (fieldName == name) {
            return field;
        }
    }
    return std::nullopt;
}

std::string_view numberEntryFieldName(NumberEntryField field) {
    return NAMES[static_cast<std::size_t>(field)].second;
}

} // namespace lumeris
