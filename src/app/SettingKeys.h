#pragma once

#include "app/SettingValue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumeris {

// The keys users may set by name (command-line overrides), each with the type the program
// stores and reads it as.
class SettingKeys {
public:
    enum class Type { Boolean, Double, String, StringArray };

    static std::optional<Type> typeOf(std::string_view key);

    // Every key, in alphabetical order.
    static std::vector<std::string_view> keys();

    // "boolean", "number", "text" or "list".
    static std::string_view typeName(Type type);

    // The value as `parse` reads it back: true/false, a shortest decimal, the text itself, a JSON
    // array of strings.
    static std::string format(const SettingValue& value);

    // The value `text` gives for `key`, or nothing with `error` naming what is wrong.
    static std::optional<SettingValue> parse(std::string_view key, std::string_view text,
                                             std::string* error = nullptr);
};

} // namespace lumeris
