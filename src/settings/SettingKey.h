#pragma once

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

    std::string_view name;
    Type type;
    Default registered = std::monostate{};
    Scope scope = Scope::Preference;

    bool isRegistered() const { return !std::holds_alternative<std::monostate>(registered); }

    // Read sites pass a key where the store takes its name.
    operator std::string() const { return std::string(name); }
};

} // namespace lumeris
