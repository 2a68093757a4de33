#pragma once

#include "TemporaryFolder.h"
#include "editor/EditorController.h"
#include "fakes/FakeEditorView.h"
#include "fakes/ManualTimer.h"
#include "render/BackgroundPictures.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

// What every display-free editor test starts from: settings in memory with their defaults, a fake
// view, a manual timer and pictures that encode to nothing.
class EditorFixture : public ::testing::Test {
protected:
    EditorFixture() {
        settings.registerDefaultSettings(
            lumeris::StandardFolders{folder / "Archives", folder / "Desktop"});
    }

    // A controller on the fixture's pieces, without recognition or smart wrap.
    std::shared_ptr<lumeris::EditorController>
    createController(std::function<void()> presetStateChanged = {}) {
        return lumeris::EditorController::create({settings,
                                                  view,
                                                  timer,
                                                  pictures,
                                                  folder / "r",
                                                  {},
                                                  {},
                                                  nullptr,
                                                  nullptr,
                                                  {},
                                                  std::move(presetStateChanged)});
    }

    TemporaryFolder folder;
    lumeris::SettingsStore settings{folder / "settings.json",
                                    lumeris::SettingsStore::Persistence::InMemory};
    FakeEditorView view;
    lumeris::ManualTimer timer;
    lumeris::BackgroundPictures pictures{folder / "pictures", [](const auto&) {
                                             return std::string();
                                         }};
};
