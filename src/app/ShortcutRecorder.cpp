#include "app/ShortcutRecorder.h"

#include <glib.h>

namespace lumeris {

namespace {

// GDK key values used here; the core has no GDK headers.
constexpr std::uint32_t KEY_ESCAPE = 0xff1b;
constexpr std::uint32_t KEY_BACKSPACE = 0xff08;
constexpr std::uint32_t KEY_DELETE = 0xffff;
// Shift_L … Hyper_R, ISO level shifts and the like: modifiers pressed on their own.
bool isModifierKey(std::uint32_t keyValue) {
    return (keyValue >= 0xffe1 && keyValue <= 0xffee) || (keyValue >= 0xfe01 && keyValue <= 0xfe13);
}

} // namespace

ShortcutRecorder::Press ShortcutRecorder::interpret(std::uint32_t keyValue, std::uint32_t state,
                                                    std::uint32_t unicode,
                                                    const std::string& keyName) {
    const std::uint32_t modifiers = state & (Shortcut::SHIFT_MASK | Shortcut::CONTROL_MASK |
                                             Shortcut::ALT_MASK | Shortcut::SUPER_MASK);
    if (modifiers == 0 && keyValue == KEY_ESCAPE) {
        return {Meaning::Cancel, std::nullopt};
    }
    if (modifiers == 0 && (keyValue == KEY_BACKSPACE || keyValue == KEY_DELETE)) {
        return {Meaning::Clear, std::nullopt};
    }
    if (isModifierKey(keyValue) || (modifiers & ~Shortcut::SHIFT_MASK) == 0) {
        return {Meaning::KeepListening, std::nullopt};
    }
    if (unicode != 0 && g_unichar_isgraph(unicode)) {
        char buffer[8] = {};
        const std::string character(buffer,
                                    static_cast<std::size_t>(g_unichar_to_utf8(unicode, buffer)));
        return {Meaning::Recorded, Shortcut{keyValue, modifiers, character, character}};
    }
    return {Meaning::Recorded, Shortcut{keyValue, modifiers, "", keyName}};
}

} // namespace lumeris
