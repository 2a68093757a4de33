#pragma once

#include "TemporaryFolder.h"
#include "editor/gtk/EditorWindow.h"
#include "fakes/FakeAlerts.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeFileChooser.h"
#include "fakes/ManualTimer.h"
#include "gui/RendererTestSupport.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

namespace lumeris::testing {

// Editor windows on settings of their own: the defaults, with a built-in background, as there is
// no wallpaper under Xvfb. Alerts, clipboard, file chooser and timer are fakes.
class EditorWindowFixture : public ::testing::Test {
protected:
    EditorWindowFixture() {
        settings.registerDefaultSettings();
        settings.set(SettingKeys::BACKGROUND_ID, std::string("cool"));
    }

    // What every editor here is given; a test adds what it is about.
    EditorWindow::Dependencies dependencies() {
        return {.settings = settings,
                .alerts = alerts,
                .clipboard = std::make_shared<FakeClipboard>(),
                .fileChooser = chooser,
                .baseUri = baseUri(),
                .rendererFolder = folder / "renderer",
                .timer = timer};
    }

    TemporaryFolder folder;
    SettingsStore settings{folder / "settings.json"};
    std::shared_ptr<FakeAlerts> alerts = std::make_shared<FakeAlerts>();
    std::shared_ptr<FakeFileChooser> chooser = std::make_shared<FakeFileChooser>();
    std::shared_ptr<ManualTimer> timer = std::make_shared<ManualTimer>();
};

} // namespace lumeris::testing
