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

    // The fixture's pieces, without recognition or smart wrap.
    lumeris::EditorController::Services services(std::function<void()> presetStateChanged = {}) {
        return {.settings = settings,
                .view = view,
                .timer = timer,
                .pictures = pictures,
                .rendererFolder = folder / "r",
                .recognize = {},
                .wrapText = {},
                .addDetectedText = {},
                .presetStateChanged = std::move(presetStateChanged)};
    }
    std::shared_ptr<lumeris::EditorController>
    createController(std::function<void()> presetStateChanged = {}) {
        return lumeris::EditorController::create(services(std::move(presetStateChanged)));
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
