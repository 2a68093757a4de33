#include "settings/Shortcut.h"

#include <cctype>
#include <cmath>

namespace lumeris {

namespace {

Shortcut controlAltSuper(char digit) {
    // GDK key values of the digits are their ASCII codes.
    return Shortcut{static_cast<std::uint32_t>(digit),
                    Shortcut::CONTROL_MASK | Shortcut::ALT_MASK | Shortcut::SUPER_MASK,
                    std::string(1, digit), std::string(1, digit)};
}

std::optional<std::uint32_t> readUnsigned(const nlohmann::json& entries, const char* name) {
    auto entry = entries.find(name);
    if (entry == entries.end() || !entry->is_number()) {
        return std::nullopt;
    }
    double value = entry->get<double>();
    if (!(value >= 0 && value <= 4294967295.0) || std::floor(value) != value) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::string readString(const nlohmann::json& entries, const char* name) {
    auto entry = entries.find(name);
    return entry != entries.end() && entry->is_string() ? entry->get<std::string>() : "";
}

} // namespace

SettingDictionary Shortcut::toDictionary() const {
    SettingDictionary dictionary;
    dictionary.entries["keyCode"] = static_cast<double>(keyCode);
    dictionary.entries["modifierFlags"] = static_cast<double>(modifierFlags);
    dictionary.entries["characters"] = characters;
    dictionary.entries["charactersIgnoringModifiers"] = charactersIgnoringModifiers;
    return dictionary;
}

std::optional<Shortcut> Shortcut::fromDictionary(const SettingDictionary& dictionary) {
    if (!dictionary.entries.is_object()) {
        return std::nullopt;
    }
    auto keyCode = readUnsigned(dictionary.entries, "keyCode");
    auto modifiers = readUnsigned(dictionary.entries, "modifierFlags");
    if (!keyCode || !modifiers || *keyCode == 0) {
        return std::nullopt;
    }
    return Shortcut{*keyCode, *modifiers, readString(dictionary.entries, "characters"),
                    readString(dictionary.entries, "charactersIgnoringModifiers")};
}

std::string Shortcut::displayText() const {
    std::string text;
    if (modifierFlags & SHIFT_MASK) {
        text += "Shift+";
    }
    if (modifierFlags & CONTROL_MASK) {
        text += "Ctrl+";
    }
    if (modifierFlags & ALT_MASK) {
        text += "Alt+";
    }
    if (modifierFlags & SUPER_MASK) {
        text += "Super+";
    }
    std::string key = charactersIgnoringModifiers;
    if (key.empty() && keyCode >= 0x20 && keyCode < 0x7f) {
        key = std::string(1, static_cast<char>(keyCode));
    }
    if (key.size() == 1) {
        key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    }
    return text + key;
}

const Shortcut& Shortcut::defaultCapture() {
    static const Shortcut shortcut = controlAltSuper('4');
    return shortcut;
}

const Shortcut& Shortcut::defaultCaptureAndCopy() {
    static const Shortcut shortcut = controlAltSuper('5');
    return shortcut;
}

} // namespace lumeris
