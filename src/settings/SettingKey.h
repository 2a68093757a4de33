#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace lumeris {

// One entry of the settings table: the stored name, the type it is read as, and the default
// registration writes (none for keys that read sites alone give a fallback for).
struct SettingKey {
    enum class Type { Boolean, Double, String, StringArray, Dictionary, Data };

    // Registered defaults that depend on the user's folders or on another setting.
    enum class Derived { ArchivesFolder, DesktopFolder, CurrentWatermarkText };
    using Default = std::variant<std::monostate, bool, double, std::string_view, Derived>;

    // Preferences may be overridden by name on the command line; state (caches, one-time flags,
    // recorded shortcuts, the presets blob) may not.
    enum class Scope { Preference, State };

    // The numbers a preference may hold: the editor's slider spans them, and command-line values
    // and stored values outside them are refused or brought back in.
    struct Range {
        double minimum = 0;
        double maximum = 0;
        constexpr bool contains(double value) const { return value >= minimum && value <= maximum; }
        constexpr double clamp(double value) const { return std::clamp(value, minimum, maximum); }
    };

    // What a text preference must look like: an opaque colour "#RRGGBB", or an output ratio
    // ("auto", empty, "W:H" or "WxH" with positive whole numbers).
    enum class Form { Any, Colour, Ratio };

    std::string_view name;
    Type type;
    Default registered = std::monostate{};
    Scope scope = Scope::Preference;
    std::optional<Range> range = std::nullopt;
    Form form = Form::Any;

    bool isRegistered() const { return !std::holds_alternative<std::monostate>(registered); }

    // Read sites pass a key where the store takes its name.
    operator std::string() const { return std::string(name); }
};

} // namespace lumeris
