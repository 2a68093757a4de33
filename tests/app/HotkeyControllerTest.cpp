#include "app/HotkeyController.h"

#include "TemporaryFolder.h"
#include "fakes/FakeHotkeyRegistrar.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

using namespace lumeris;
using Hotkey = HotkeyController::Hotkey;

namespace {

struct HotkeyControllerTest : ::testing::Test {
    TemporaryFolder folder;
    SettingsStore settings{folder / "settings.json", SettingsStore::Persistence::InMemory};
    FakeHotkeyRegistrar registrar;
    std::vector<bool> captures;
    HotkeyController controller{settings, registrar, [this](bool copy) {
                                    captures.push_back(copy);
                                }};
};

const Shortcut CTRL_SHIFT_P{'p', Shortcut::CONTROL_MASK | Shortcut::SHIFT_MASK, "P", "p"};

} // namespace

TEST_F(HotkeyControllerTest, RegistersBothDefaultsAndRoutesTheCopyKey) {
    EXPECT_TRUE(controller.setupHotkey().empty());
    EXPECT_EQ(registrar.log, (std::vector<std::string>{"+Ctrl+Alt+Super+4", "+Ctrl+Alt+Super+5"}));
    EXPECT_EQ(controller.captureMenuTitle(), "Take Screenshot (Ctrl+Alt+Super+4)");
    registrar.press("Ctrl+Alt+Super+4");
    registrar.press("Ctrl+Alt+Super+5");
    EXPECT_EQ(captures, (std::vector<bool>{false, true}));
}

TEST_F(HotkeyControllerTest, SetupUnregistersFirstAndHonoursEachEnabledFlag) {
    struct Case {
        bool capture;
        bool copy;
        std::vector<std::string> registered;
    } cases[] = {
        {true, true, {"+Ctrl+Alt+Super+4", "+Ctrl+Alt+Super+5"}},
        {false, true, {"+Ctrl+Alt+Super+5"}},
        {true, false, {"+Ctrl+Alt+Super+4"}},
        {false, false, {}},
    };
    controller.setupHotkey();
    for (const auto& [capture, copy, registered] : cases) {
        settings.set(SettingKeys::GLOBAL_HOTKEY_ENABLED, capture);
        settings.set(SettingKeys::TAKE_AND_COPY_HOTKEY_ENABLED, copy);
        const auto before = registrar.grabbed;
        registrar.log.clear();
        controller.setupHotkey();
        std::vector<std::string> expected;
        for (const auto& [name, pressed] : before) {
            expected.push_back("-" + name);
        }
        expected.insert(expected.end(), registered.begin(), registered.end());
        EXPECT_EQ(registrar.log, expected) << capture << copy;
        EXPECT_EQ(registrar.grabbed.size(), registered.size());
    }
}

TEST_F(HotkeyControllerTest, RecordingStoresRevertsOrRefuses) {
    controller.setupHotkey();
    EXPECT_EQ(controller.record(Hotkey::Capture, std::nullopt),
              HotkeyController::Recorded::Reverted);
    EXPECT_FALSE(settings.value(SettingKeys::GLOBAL_HOTKEY));

    // Turning the copy key off takes effect with the next recording.
    settings.set(SettingKeys::TAKE_AND_COPY_HOTKEY_ENABLED, false);
    EXPECT_EQ(controller.record(Hotkey::Capture, CTRL_SHIFT_P), HotkeyController::Recorded::Stored);
    EXPECT_EQ(controller.shortcut(Hotkey::Capture), CTRL_SHIFT_P);
    EXPECT_EQ(controller.captureMenuTitle(), "Take Screenshot (Shift+Ctrl+P)");
    EXPECT_EQ(registrar.grabbed.size(), 1u);
    EXPECT_TRUE(registrar.grabbed.count("Shift+Ctrl+P"));

    // A key another program holds is not stored; the previous one is grabbed again.
    registrar.taken.insert("Ctrl+Alt+Super+9");
    const Shortcut taken{'9', Shortcut::CONTROL_MASK | Shortcut::ALT_MASK | Shortcut::SUPER_MASK,
                         "9", "9"};
    EXPECT_EQ(controller.record(Hotkey::Capture, taken), HotkeyController::Recorded::Conflict);
    EXPECT_EQ(controller.shortcut(Hotkey::Capture), CTRL_SHIFT_P);
    EXPECT_TRUE(registrar.grabbed.count("Shift+Ctrl+P"));

    // The other hot key's shortcut is refused too.
    settings.set(SettingKeys::TAKE_AND_COPY_HOTKEY_ENABLED, true);
    controller.setupHotkey();
    EXPECT_EQ(controller.record(Hotkey::CaptureAndCopy, CTRL_SHIFT_P),
              HotkeyController::Recorded::Conflict);
    EXPECT_EQ(controller.shortcut(Hotkey::CaptureAndCopy), Shortcut::defaultCaptureAndCopy());
}

TEST_F(HotkeyControllerTest, ReportsKeysHeldElsewhereAndNothingWhenUnsupported) {
    registrar.taken.insert("Ctrl+Alt+Super+4");
    EXPECT_EQ(controller.setupHotkey(), std::vector<Hotkey>{Hotkey::Capture});
    const auto alert = HotkeyController::conflictAlert(
        {Shortcut::defaultCapture(), Shortcut::defaultCaptureAndCopy()});
    EXPECT_EQ(alert.title, "Conflict global hotkey");
    EXPECT_EQ(alert.informativeText.find("Ctrl+Alt+Super+4 and Ctrl+Alt+Super+5 are already"), 0u);
    EXPECT_EQ(alert.buttons, std::vector<std::string>{"OK"});

    registrar.isSupported = false;
    EXPECT_TRUE(controller.setupHotkey().empty());
    EXPECT_EQ(controller.binding(), HotkeyController::Binding::Unsupported);
}
