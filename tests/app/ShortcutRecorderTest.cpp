#include "app/ShortcutRecorder.h"

#include <gtest/gtest.h>

using namespace lumeris;
using Meaning = ShortcutRecorder::Meaning;

TEST(ShortcutRecorderTest, NeedsAModifierOtherThanShift) {
    constexpr std::uint32_t CTRL = Shortcut::CONTROL_MASK;
    constexpr std::uint32_t SHIFT = Shortcut::SHIFT_MASK;
    constexpr std::uint32_t SUPER = Shortcut::SUPER_MASK;
    // Bits GDK sets beside the four (Num Lock as Mod2, a pressed button) are not kept.
    constexpr std::uint32_t NUM_LOCK = 1u << 4;
    constexpr std::uint32_t BUTTON1 = 1u << 8;
    struct Case {
        std::uint32_t key;
        std::uint32_t state;
        Meaning meaning;
        std::uint32_t modifiers;
    } cases[] = {
        {'4', 0, Meaning::KeepListening, 0},
        {'A', SHIFT, Meaning::KeepListening, 0},
        {0xffe3 /* Control_L */, CTRL, Meaning::KeepListening, 0},
        {0xffeb /* Super_L */, SUPER | CTRL, Meaning::KeepListening, 0},
        {0xff1b /* Escape */, 0, Meaning::Cancel, 0},
        {0xff08 /* BackSpace */, 0, Meaning::Clear, 0},
        {0xffff /* Delete */, 0, Meaning::Clear, 0},
        {0xff1b, CTRL, Meaning::Recorded, CTRL},
        {'p', CTRL | SHIFT | NUM_LOCK | BUTTON1, Meaning::Recorded, CTRL | SHIFT},
        {0xffbe /* F1 */, SUPER, Meaning::Recorded, SUPER},
    };
    for (const auto& [key, state, meaning, modifiers] : cases) {
        const auto press = ShortcutRecorder::interpret(key, state, key < 0x80 ? key : 0);
        EXPECT_EQ(press.meaning, meaning) << std::hex << key << " " << state;
        if (meaning == Meaning::Recorded) {
            ASSERT_TRUE(press.shortcut);
            EXPECT_EQ(press.shortcut->keyCode, key);
            EXPECT_EQ(press.shortcut->modifierFlags, modifiers);
        } else {
            EXPECT_FALSE(press.shortcut);
        }
    }
    EXPECT_EQ(ShortcutRecorder::interpret(0xffbe, SUPER, 0, "F1").shortcut->displayText(),
              "Super+F1");
    EXPECT_EQ(ShortcutRecorder::interpret('p', CTRL, 'p').shortcut->displayText(), "Ctrl+P");
}
