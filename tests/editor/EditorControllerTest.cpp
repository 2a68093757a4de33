#include "editor/EditorController.h"

#include "base/BuildInfo.h"
#include "fakes/FakeScreenLocator.h"
#include "settings/SettingKeys.h"
#include "support/EditorFixture.h"
#include "support/ImageFiles.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

class EditorControllerTest : public EditorFixture {
protected:
    FakeScreenLocator screens;
    std::vector<TextRecognitionTask::Handlers> recognitions;
    std::vector<std::pair<bool, std::function<void(std::optional<PreparedImage>)>>> wraps;
    int presetChanges = 0;
    int completions = 0;
    std::shared_ptr<EditorController> controller;

    void SetUp() override {
        auto with = services([this] { ++presetChanges; });
        with.recognize = [this](auto, double, auto h) {
            recognitions.push_back(h);
        };
        with.wrapText = [this](auto&, bool offset, auto done) {
            wraps.emplace_back(offset, done);
        };
        with.screens = &screens;
        controller = EditorController::create(std::move(with));
        controller->start();
    }

    // A screenshot with a light band of `margin` pixels; no margin means no border to detect.
    void load(int margin = 40) {
        controller->loadImage(writePng(screenshot(800, 600, margin), folder / "shot.png"),
                              [this] { ++completions; });
        ASSERT_TRUE(controller->hasWorkingImage());
    }
    void recognise(std::vector<Rect> redact, std::vector<Rect> text = {}) {
        ASSERT_FALSE(recognitions.empty());
        recognitions.back().applied({{"line"}, std::move(redact), std::move(text)});
    }
    void clearView() {
        view.restyles.clear();
        view.loads.clear();
        timer.tasks.clear();
        presetChanges = 0;
    }
};

} // namespace

TEST_F(EditorControllerTest, EachControlRestylesOrReloadsOnceAndTellsThePresets) {
    const RatioTemplate post{"Post", {1200, 675}, "twitter"};
    const std::pair<const char*, std::pair<std::function<void(EditorController&)>, bool>>
        actions[] = {
            {"slider", {[](auto& c) { c.sliderAction(); }, false}},
            {"auto-redact", {[](auto& c) { c.reactEmailCheckboxAction(); }, true}},
            {"radius", {[](auto& c) { c.borderSliderAction(); }, false}},
            {"inset", {[](auto& c) { c.insetSliderAction(); }, false}},
            {"border colour", {[](auto& c) { c.borderColorWellAction("#112233"); }, false}},
            {"tilt reset", {[](auto& c) { c.tiltResetButtonAction(); }, false}},
            {"watermark typed", {[](auto& c) { c.controlTextDidChange("Mine"); }, false}},
            {"watermark template", {[](auto& c) { c.didSelectWatermarkText(); }, false}},
            {"show watermark", {[](auto& c) { c.showWatermarkCheckboxAction(); }, false}},
            {"background", {[](auto& c) { c.bgImageButtonAction("sky"); }, false}},
            {"colour picker", {[](auto& c) { c.backgroundColorChanged(); }, false}},
            {"background file", {[](auto& c) { c.backgroundFileChosen(); }, false}},
            {"ratio", {[](auto& c) { c.ratioButtonAction("4-3"); }, true}},
            {"fit ratio", {[&](auto& c) { c.didSelectRatio(post); }, true}},
            {"exact size", {[&](auto& c) { c.didSelectSize(post); }, true}},
            {"custom ratio", {[](auto& c) { c.customRatioApplied(); }, false}},
            {"number entry", {[](auto& c) { c.inputTooltipConfirmed("padding", 40); }, false}},
            {"balance", {[](auto& c) { c.balanceButtonAction(); }, true}},
        };
    load();
    for (const auto& [name, action] : actions) {
        clearView();
        action.first(*controller);
        EXPECT_EQ(view.loads.size(), action.second ? 1u : 0u) << name;
        EXPECT_EQ(view.restyles.size(), action.second ? 0u : 1u) << name;
        EXPECT_EQ(timer.tasks.size(), 1u) << name;
        EXPECT_EQ(presetChanges, 1) << name;
    }
}

TEST_F(EditorControllerTest, BeforeALoadChangesOnlyReachTheValues) {
    settings.set(SettingKeys::TILT_X, 3.0);
    controller->tiltResetButtonAction();
    controller->inputTooltipConfirmed("rounded", 33);
    EXPECT_TRUE(view.restyles.empty());
    EXPECT_TRUE(view.loads.empty());
    EXPECT_TRUE(timer.tasks.empty());
    EXPECT_EQ(controller->values().tiltXValue, 15);
    EXPECT_EQ(view.sliders[EditorView::Slider::TiltY], 15);
    EXPECT_EQ(view.labelTitles, (std::vector<int>{100, 20, 33, 25}));
    controller->zoom().zoomToFit(false);
    EXPECT_EQ(view.zoomTitle, "");
}

TEST_F(EditorControllerTest, OneSnapshotAfterTheLastChangeUntilTheWindowDisappears) {
    load();
    for (int i = 0; i < 3; ++i) {
        controller->sliderAction();
    }
    ASSERT_EQ(timer.tasks.back().seconds, 0.75);
    timer.fireAll();
    ASSERT_EQ(view.snapshotRequests.size(), 1u);
    auto image = std::make_shared<const RgbaImage>(2, 2);
    view.snapshotRequests[0](image);
    EXPECT_EQ(controller->lastOutputImage(), image);

    controller->sliderAction();
    controller->markDisappeared();
    timer.fireAll();
    EXPECT_EQ(view.snapshotRequests.size(), 1u);
}

TEST_F(EditorControllerTest, ButtonsStoreTheirValuesAndHighlightTheirButton) {
    load();
    const std::tuple<std::optional<std::string>, const char*, RatioButton> cases[] = {
        {"16-9", "16:9", RatioButton::Ratio169},
        {"21-9", "21:9", RatioButton::Custom},
        {std::nullopt, "auto", RatioButton::Auto},
    };
    for (const auto& [identifier, stored, button] : cases) {
        controller->ratioButtonAction(identifier);
        EXPECT_EQ(settings.string(SettingKeys::RATIO, ""), stored);
        EXPECT_EQ(view.ratio, button) << stored;
    }
    controller->didSelectSize({"Post", {1200, 675}, "twitter"});
    EXPECT_EQ(settings.string(SettingKeys::RATIO, ""), "1200x675");
    EXPECT_EQ(view.ratio, RatioButton::Twitter);
    EXPECT_EQ(view.canvasWidth, 1200);
    controller->didSelectRatio({"Post", {1200, 675}, "twitter"});
    EXPECT_EQ(settings.string(SettingKeys::RATIO, ""), "1200:675");
    controller->ratioButtonAction("1-1");
    EXPECT_EQ(controller->ratioTemplate(), std::nullopt);
    // The custom ratio refuses what cannot be drawn: 1:10000 on an 800-point shot is millions of
    // points tall, and a 10000-point square has more pixels than a picture may.
    EXPECT_EQ(controller->ratioProblem("16:10", 2), std::nullopt);
    EXPECT_EQ(controller->ratioProblem("5000x5000", 1), std::nullopt);
    for (const auto& [text, scale] : {std::pair("1:10000", 1), {"10000x10000", 2}, {"wide", 1}}) {
        EXPECT_NE(controller->ratioProblem(text, scale), std::nullopt) << text;
    }

    controller->bgImageButtonAction(std::nullopt);
    EXPECT_EQ(settings.string(SettingKeys::BACKGROUND_ID, ""), "cool");
    EXPECT_EQ(view.background, BackgroundButton::Cool);
}

TEST_F(EditorControllerTest, ZoomTitlesAndFit) {
    load();
    controller->zoom().zoomIn();
    EXPECT_EQ(view.zoomTitle, "110%");
    EXPECT_TRUE(view.zoomAnimated);
    controller->zoom().zoom50();
    EXPECT_EQ(view.zoomTitle, "50%");
    // The canvas (1040 × 840 at most) is larger than the 800 × 600 visible area.
    controller->zoom().zoomToFit(false);
    EXPECT_NEAR(view.zoom, std::min(800 / view.canvasWidth, 600 / view.canvasHeight), 1e-9);
    view.visibleW = view.visibleH = 4000;
    controller->zoom().zoomToFit(false);
    EXPECT_EQ(view.zoomTitle, "100%");
    controller->zoom().zoomToFit(true);
    EXPECT_GT(view.zoom, 1.0);
}

TEST_F(EditorControllerTest, FirstLoadTitlesPlacesShowsTheBandAndReloadsOnRecognition) {
    view.frame = {0, 0, 800, 500};
    screens.all = {ScreenInfo{{0, 0, 1600, 1200}, {0, 0, 1600, 1200}, 1.0}};
    screens.pointer = std::make_pair(10.0, 10.0);
    load();
    EXPECT_EQ(view.title, controller->session().fileName + " - Lumeris " + build::VERSION + " (" +
                              build::BUILD_NUMBER + ")");
    EXPECT_EQ(view.insetStatus, "(background color detected)");
    EXPECT_EQ(view.frame.width, view.canvasWidth + 350);
    EXPECT_EQ(view.frame.x, 800 - view.frame.width / 2);
    EXPECT_EQ(view.frame.y, 600 - view.frame.height / 2 - 80);
    EXPECT_EQ(view.loads.size(), 1u);
    EXPECT_EQ(completions, 0);

    recognise({{10, 10, 50, 10}, {10, 40, 50, 10}});
    EXPECT_EQ(view.redactionStatus, "(found 2)");
    EXPECT_TRUE(view.redactionStatusVisible);
    EXPECT_TRUE(controller->textProcessed());
    EXPECT_EQ(view.loads.size(), 2u);
    EXPECT_EQ(completions, 1);
}

TEST_F(EditorControllerTest, BalanceAndSmartWrapDeriveTheWorkingImageAgain) {
    load();
    const double balancedWidth = controller->session().currentImage.pointWidth;
    ASSERT_LT(balancedWidth, 800);
    settings.set(SettingKeys::INSET_BALANCE, false);
    controller->balanceButtonAction();
    EXPECT_EQ(controller->session().currentImage.pointWidth, 800);
    EXPECT_EQ(recognitions.size(), 2u);

    controller->activateSmartWrapText();
    ASSERT_EQ(wraps.size(), 1u);
    EXPECT_FALSE(wraps[0].first); // useYOffset flipped
    PreparedImage wrapped = controller->session();
    wrapped.currentImage.pointWidth = 300;
    wraps[0].second(std::move(wrapped));
    EXPECT_EQ(controller->session().currentImage.pointWidth, 300);
    EXPECT_EQ(view.loads.size(), 3u);
    EXPECT_EQ(recognitions.size(), 3u);
}

TEST_F(EditorControllerTest, WithoutBandOrAnythingToRedactThereIsNoSecondLoad) {
    settings.set(SettingKeys::AUTO_REDACT, false);
    load(0); // no band: the inset is off and says so
    EXPECT_EQ(view.insetStatus, "(disabled)");
    EXPECT_EQ(view.sliders[EditorView::Slider::Inset], 0);
    EXPECT_EQ(controller->values().insetValue, 0);
    recognise({});
    EXPECT_EQ(view.redactionStatus, "(found 0)");
    EXPECT_EQ(view.loads.size(), 1u);
    EXPECT_EQ(completions, 1);

    // Presets reload, or derive the working image again when the balance changed.
    controller->presetApplied(std::nullopt, 0, false);
    EXPECT_EQ(view.insetStatus, "(disabled)");
    EXPECT_EQ(view.loads.size(), 2u);
    EXPECT_EQ(recognitions.size(), 1u);

    controller->presetApplied(RatioTemplate{"Pin", {1000, 1500}, "pinterest"}, 12, true);
    EXPECT_EQ(view.insetStatus, "");
    EXPECT_TRUE(controller->values().insetEnabled);
    EXPECT_EQ(view.ratio, RatioButton::Pinterest);
    EXPECT_EQ(view.loads.size(), 3u);
    EXPECT_EQ(recognitions.size(), 2u);
}

TEST_F(EditorControllerTest, RedactionSettingsRestyleOrRecogniseAgain) {
    load();
    recognise({}); // auto-redaction on: reloads even when nothing was found
    EXPECT_EQ(view.loads.size(), 2u);
    clearView();
    controller->redactColorAction("#FF0000");
    EXPECT_EQ(controller->values().redactColor, "#FF0000");
    EXPECT_EQ(view.restyles.size(), 1u);
    controller->redactionRulesChanged();
    ASSERT_EQ(recognitions.size(), 2u);
    recognise({{1, 1, 4, 4}});
    EXPECT_EQ(view.redactionStatus, "(found 1)");
    EXPECT_EQ(completions, 1); // the later recognitions carry no completion
}

// Closing the window before recognition ends leaves no trace and calls no completion.
TEST_F(EditorControllerTest, AClosedEditorIgnoresLateRecognition) {
    load();
    std::weak_ptr<EditorController> weak = controller;
    controller.reset();
    EXPECT_TRUE(weak.expired());
    recognise({{1, 1, 1, 1}});
    timer.fireAll();
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(view.loads.size(), 1u);
}

TEST_F(EditorControllerTest, ResultsForAnEarlierWorkingImageAreDropped) {
    load();
    controller->balanceButtonAction(); // a second working image while the first is recognised
    ASSERT_EQ(recognitions.size(), 2u);
    recognitions[0].applied({{"old"}, {{1, 1, 4, 4}}, {}});
    EXPECT_FALSE(controller->textProcessed());
    EXPECT_EQ(completions, 0);
    recognise({});
    EXPECT_TRUE(controller->redactRects().empty());
    EXPECT_EQ(completions, 1); // the load's completion waits for the current image
}
