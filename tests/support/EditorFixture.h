#pragma once

#include "TemporaryFolder.h"
#include "editor/EditorController.h"
#include "fakes/FakeEditorView.h"
#include "fakes/ManualTimer.h"
#include "render/BackgroundPictures.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

// Settings in memory with their defaults; the standard folders are inside `folder`.
class SettingsFixture : public ::testing::Test {
protected:
    SettingsFixture() {
        settings.registerDefaultSettings(
            lumeris::StandardFolders{folder / "Archives", folder / "Desktop"});
    }

    TemporaryFolder folder;
    lumeris::SettingsStore settings{folder / "settings.json",
                                    lumeris::SettingsStore::Persistence::InMemory};
};

// What every display-free editor test starts from: those settings, a fake view, a manual timer
// and pictures that encode to nothing.
class EditorFixture : public SettingsFixture {
protected:
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

    FakeEditorView view;
    lumeris::ManualTimer timer;
    lumeris::BackgroundPictures pictures{folder / "pictures", [](const auto&) {
                                             return std::string();
                                         }};
};
