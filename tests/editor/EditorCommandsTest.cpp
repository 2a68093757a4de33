#include "editor/EditorCommands.h"

#include "export/ImageReader.h"
#include "fakes/FakeAlerts.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeFileChooser.h"
#include "settings/SettingKeys.h"
#include "support/EditorFixture.h"
#include "support/ImageFiles.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace lumeris;
namespace fs = std::filesystem;
using Modifiers = EditorCommands::Modifiers;

TEST(EditorCommandsTest, AltAloneInvertsTheStoredCompressionChoice) {
    const struct {
        bool setting;
        Modifiers held;
        bool compressed;
    } cases[] = {
        {false, {}, false},
        {true, {}, true},
        {false, {.alt = true}, true},
        {true, {.alt = true}, false},
        // Alt with anything else is not Alt alone.
        {false, {.shift = true, .alt = true}, false},
        {false, {.control = true, .alt = true}, false},
        {false, {.alt = true, .super = true}, false},
        {true, {.alt = true, .meta = true}, true},
        {false, {.hyper = true}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditorCommands::compressionApplies(c.setting, c.held), c.compressed)
            << c.setting << c.held.shift << c.held.control << c.held.super << c.held.meta;
    }
}

TEST(EditorCommandsTest, NamesAndFeedback) {
    EXPECT_EQ(EditorCommands::compressedPath("/a/shot.png"), "/a/shot.jpg");
    EXPECT_EQ(EditorCommands::compressedPath("/a/shot"), "/a/shot.jpg");
    EXPECT_EQ(EditorCommands::withPngExtension("/a/shot"), "/a/shot.png");
    EXPECT_EQ(EditorCommands::withPngExtension("/a/shot.png"), "/a/shot.png");
    EXPECT_EQ(EditorCommands::withPngExtension("/a/shot.jpg"), "/a/shot.jpg.png");

    EXPECT_EQ(EditorCommands::compressionFeedback(true, 2048).messageText,
              "Compressed (2.0\u00A0kB)");
    EXPECT_EQ(EditorCommands::compressionFeedback(true, std::nullopt).messageText, "Compressed");
    EXPECT_EQ(EditorCommands::compressionFeedback(false, 2048).messageText,
              "Compression Skipped\n            (2.0\u00A0kB)");
    EXPECT_EQ(EditorCommands::compressionFeedback(false, std::nullopt).messageText,
              "Compression Skipped");
}

namespace {

class EditorCommandsFlowTest : public EditorFixture {
protected:
    FakeClipboard clipboard;
    FakeFileChooser chooser;
    FakeAlerts alerts;
    Modifiers held;
    std::vector<std::string> bezels;
    std::shared_ptr<EditorController> controller;
    std::shared_ptr<EditorCommands> commands;
    RgbaImage picture = screenshot(40, 30, 0);

    void SetUp() override {
        settings.set(SettingKeys::SAVE_PATH, (folder / "Saved").string());
        controller = createController();
        controller->loadImage(writePng(screenshot(80, 60, 0), folder / "shot.png"));
        commands =
            EditorCommands::create({settings,
                                    *controller,
                                    view,
                                    clipboard,
                                    chooser,
                                    alerts,
                                    [this](BezelParameters b) { bezels.push_back(b.messageText); },
                                    [this] { return held; },
                                    {}});
        view.snapshotRequests.clear();
    }

    // Answers the one pending snapshot request with the test picture.
    void snapshot() {
        ASSERT_EQ(view.snapshotRequests.size(), 1U);
        auto done = std::move(view.snapshotRequests.back());
        view.snapshotRequests.clear();
        done(std::make_shared<const RgbaImage>(picture));
    }

    fs::path archived() const {
        return folder / "Archives" / "Output" / controller->session().fileName;
    }
};

} // namespace

TEST_F(EditorCommandsFlowTest, CopyTakesTheSelectionFirstThenThePicture) {
    view.selection = "jane@example.com";
    commands->copy();
    EXPECT_EQ(clipboard.text, "jane@example.com");
    EXPECT_EQ(bezels, std::vector<std::string>{"Text Copied"});
    EXPECT_FALSE(view.closed);

    view.selection.clear();
    commands->copy();
    snapshot();
    EXPECT_EQ(clipboard.image, picture);
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(bezels.back(), "Image Copied");
    EXPECT_TRUE(fs::exists(archived()));
}

TEST_F(EditorCommandsFlowTest, SaveWithAltAndCompressionOnWritesPng) {
    settings.set(SettingKeys::IMAGE_COMPRESSION, true);
    held = {.alt = true};
    commands->save();
    snapshot();
    const fs::path saved = folder / "Saved" / controller->session().fileName;
    EXPECT_TRUE(ImageReader::read(saved));
    EXPECT_FALSE(fs::exists(EditorCommands::compressedPath(saved)));
    ASSERT_EQ(bezels.size(), 2U);
    EXPECT_EQ(bezels[0], "File Saved");
    EXPECT_TRUE(bezels[1].starts_with("Compression Skipped\n            ("));
    EXPECT_TRUE(view.closed);

    // The menu's format wins over the keys, and says nothing about compression.
    view.closed = false;
    commands->save(EditorCommands::Format::Jpeg);
    snapshot();
    EXPECT_TRUE(fs::exists(EditorCommands::compressedPath(saved)));
    EXPECT_EQ(bezels.back(), "File Saved");
}

TEST_F(EditorCommandsFlowTest, SaveAsAsksBeforeReplacingAFileTheDialogDidNotConfirm) {
    const fs::path existing = folder / "mine.png";
    std::ofstream(existing) << "keep me";
    chooser.answer = folder / "mine";
    commands->saveAs();
    snapshot();
    ASSERT_EQ(alerts.shown.size(), 1U);
    EXPECT_EQ(alerts.shown[0].request.title, "File already exists");
    alerts.answerLast(1); // Cancel
    EXPECT_EQ(std::ifstream(existing).rdbuf()->sgetc(), 'k');
    EXPECT_FALSE(view.closed);

    // The very name the dialog confirmed is written without a second question.
    chooser.answer = existing;
    commands->saveAs();
    snapshot();
    EXPECT_EQ(alerts.shown.size(), 1U);
    EXPECT_TRUE(ImageReader::read(existing));
}

TEST_F(EditorCommandsFlowTest, EscapeLeavesAToolBeforeClosingAndClosingArchivesTheLastOutput) {
    view.cancelConsumed = true;
    commands->cancel();
    EXPECT_FALSE(view.closed);
    view.cancelConsumed = false;
    commands->cancel();
    EXPECT_TRUE(view.closed);

    // No debounced picture yet: a fresh one is taken, and the window waits for it.
    bool gone = false;
    commands->viewWillDisappear([&] { gone = true; });
    EXPECT_FALSE(gone);
    snapshot();
    EXPECT_TRUE(gone);
    EXPECT_EQ(ImageReader::read(archived())->image.width, picture.width);
}
