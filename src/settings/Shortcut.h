#pragma once

#include "settings/SettingValue.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumeris {

// A global hot key as the recorder stores it: a GDK key value and a GDK modifier mask, plus the
// characters the key produces (kept so the stored dictionary has its familiar four entries).
struct Shortcut {
    // GDK's modifier bits, repeated here so the core needs no GDK headers.
    static constexpr std::uint32_t SHIFT_MASK = 1u << 0;
    static constexpr std::uint32_t CONTROL_MASK = 1u << 2;
    static constexpr std::uint32_t ALT_MASK = 1u << 3;
    static constexpr std::uint32_t SUPER_MASK = 1u << 26;

    std::uint32_t keyCode = 0;
    std::uint32_t modifierFlags = 0;
    std::string characters;
    std::string charactersIgnoringModifiers;

    bool operator==(const Shortcut&) const = default;

    SettingDictionary toDictionary() const;
    // Nothing when the dictionary lacks a usable key code or modifier mask.
    static std::optional<Shortcut> fromDictionary(const SettingDictionary& dictionary);

    // "Ctrl+Alt+Super+4".
    std::string displayText() const;

    // Control+Alt+Super+4 and Control+Alt+Super+5, built once and shared.
    static const Shortcut& defaultCapture();
    static const Shortcut& defaultCaptureAndCopy();
};

} // namespace lumeris
