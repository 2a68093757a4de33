#pragma once

#include "app/SettingValue.h"

#include <optional>
#include <string>
#include <string_view>

namespace lumeris {

// The keys users may set by name (command-line overrides), each with the type the program
// stores and reads it as.
class SettingKeys {
public:
    enum class Type { Boolean, Double, String, StringArray };

    static std::optional<Type> typeOf(std::string_view key);

    // The value `text` gives for `key`, or nothing with `error` naming what is wrong.
    static std::optional<SettingValue> parse(std::string_view key, std::string_view text,
                                             std::string* error = nullptr);
};

} // namespace lumeris
