#include "editor/gtk/EditorWindow.h"

#include "editor/EditorBackgroundWork.h"
#include "fakes/FakeTextRecognizer.h"
#include "gui/EditorWindowFixture.h"
#include "support/FakeText.h"
#include "support/ImageFiles.h"

using namespace lumeris;
using namespace lumeris::testing;

namespace {

constexpr int WIDTH = 160;
constexpr int HEIGHT = 100;

// A dark frame around a light field with a darker bar, so that resampling would show.
LoadedImage screenshotPicture() {
    return {painted(WIDTH, HEIGHT,
                    [](int x, int y) {
                        const bool frame = x < 6 || y < 6 || x >= WIDTH - 6 || y >= HEIGHT - 6;
                        const bool bar = y >= 40 && y < 52 && x >= 20 && x < 120;
                        return grey(frame ? 40 : (bar ? 90 : 235));
                    }),
            WIDTH, HEIGHT};
}

class EditorWindowTest : public EditorWindowFixture {
protected:
    // An editor on the test picture, recognising with `recognizer` (or `recognize`).
    void open(EditorController::RecognitionStarter recognize = {}) {
        ASSERT_FALSE(baseUri().empty()) << "viewer.html not found";
        auto with = dependencies();
        with.recognize =
            recognize ? recognize : EditorBackgroundWork::recognition(recognizer, settings);
        with.wrapText = EditorBackgroundWork::textWrap(recognizer);
        with.spareView = spare;
        window = EditorWindow::create(std::move(with));
        ASSERT_TRUE(window);
        window->show();
        window->loadImage(ImageLoadPipeline::prepare(screenshotPicture(), folder / "shot.png",
                                                     settings, std::chrono::system_clock::now()),
                          [this] { ++completions; });
    }

    // The document after recognition has been applied and any second load has finished.
    void waitForRecognition() {
        ASSERT_TRUE(runUntil([&] { return completions > 0 && window->renderer().pageLoaded(); }));
    }

    std::optional<std::string> evaluate(const std::string& script) {
        return lumeris::testing::evaluate(window->renderer(), script);
    }

    // A mark only a reload removes.
    void mark() { evaluate("window.marker = 1; true"); }
    bool marked() { return evaluate("window.marker === 1") == "true"; }

    std::shared_ptr<FakeTextRecognizer> recognizer = std::make_shared<FakeTextRecognizer>();
    std::shared_ptr<SpareRendererView> spare;
    std::unique_ptr<EditorWindow> window;
    int completions = 0;
};

} // namespace

TEST_F(EditorWindowTest, ControlsRestyleOrReloadAndExportTheCanvasAtEveryZoom) {
    open();
    waitForRecognition();
    int width = 0;
    int height = 0;
    window->get_size(width, height);
    EXPECT_GE(width, EditorWindow::MIN_WIDTH);

    // A slider writes its setting and restyles the document in place.
    mark();
    timer->tasks.clear();
    window->slider(EditorView::Slider::Padding).set_value(60);
    EXPECT_EQ(settings.doubleValue(SettingKeys::PADDING, 0), 60);
    EXPECT_EQ(window->controller().values().paddingValue, 60);
    EXPECT_TRUE(marked());
    EXPECT_EQ(window->slider(EditorView::Slider::Radius).get_adjustment()->get_upper(),
              SettingKeys::BORDER_RADIUS_RANGE.maximum);
    // The store moves the slider, without an action of its own.
    settings.set(SettingKeys::SHADOW, 70.0);
    EXPECT_EQ(window->slider(EditorView::Slider::Shadow).get_value(), 70);
    EXPECT_EQ(window->controller().values().shadowValue, 25);

    // The debounced snapshot is the canvas.
    ASSERT_EQ(timer->tasks.size(), 1U);
    timer->fireAll();
    ASSERT_TRUE(runUntil([&] { return window->controller().lastOutputImage() != nullptr; }));
    const ImageSize canvas = ImageLoadPipeline::canvas(window->controller().session());
    const auto& output = *window->controller().lastOutputImage();
    EXPECT_EQ(sizeOf(output), sizeOf(canvas));
    expectSnapshotsIgnoreZoom(window->renderer(), output);
    // Zoomed out below the visible area, the canvas is centred in it: the view is exactly the
    // zoomed canvas, whatever size WebKit last had.
    window->setMagnification(0.25, false);
    runUntil([] { return false; }, 0.3);
    GtkWidget* view = window->renderer().widget();
    GtkAllocation shown{};
    gtk_widget_get_allocation(view, &shown);
    EXPECT_EQ(shown.width, static_cast<int>(std::lround(canvas.bgWidth * 0.25)));
    const int area =
        gtk_widget_get_allocated_width(gtk_widget_get_parent(gtk_widget_get_parent(view)));
    EXPECT_NEAR(shown.x, (area - shown.width) / 2, 2);

    // A ratio reloads the document and is highlighted.
    window->ratioButton("16-9").clicked();
    EXPECT_EQ(settings.string(SettingKeys::RATIO, ""), "16:9");
    EXPECT_TRUE(window->ratioButton("16-9").get_style_context()->has_class("chosen"));
    EXPECT_FALSE(window->ratioButton("auto").get_style_context()->has_class("chosen"));
    ASSERT_TRUE(runUntil([&] { return window->renderer().pageLoaded(); }));
    EXPECT_FALSE(marked());
}

TEST_F(EditorWindowTest, RecognisedAddressesAreCoveredUntilAutoRedactIsSwitchedOff) {
    TextRecognitionOutcome outcome;
    outcome.observations.push_back(
        monospacedLine("mail jane@example.com", 10, 30, 6, 10, WIDTH, HEIGHT));
    recognizer->outcome = outcome;
    open();
    waitForRecognition();
    EXPECT_EQ(window->redactionStatusLabel().get_text(), "(found 1)");
    EXPECT_TRUE(window->redactionStatusLabel().get_visible());
    EXPECT_EQ(evaluate("document.querySelectorAll('rect.redacted').length"), "1");

    window->autoRedactCheckbox().set_active(false);
    EXPECT_FALSE(settings.boolValue(SettingKeys::AUTO_REDACT, true));
    ASSERT_TRUE(runUntil([&] { return window->renderer().pageLoaded(); }));
    EXPECT_EQ(evaluate("document.querySelectorAll('rect.redacted').length"), "0");
    EXPECT_EQ(evaluate("document.querySelectorAll('rect.text-rects').length"), "2");
}

TEST_F(EditorWindowTest, ClosingBeforeRecognitionEndsLeavesNothingToRun) {
    std::optional<TextRecognitionTask::Handlers> pending;
    open([&](auto, double, TextRecognitionTask::Handlers handlers) { pending = handlers; });
    ASSERT_TRUE(pending);
    window->close();
    window.reset();
    pending->applied(TextDetectionResult{{"late"}, {Rect{1, 1, 5, 5}}, {}});
    timer->fireAll();
    runUntil([] { return false; }, 0.3);
    EXPECT_EQ(completions, 0);
}

// The window takes a renderer whose process runs a blank page already; that page's own load
// report must not pass for the picture's. The next spare starts once the window has painted.
TEST_F(EditorWindowTest, ASpareRendererShowsThePictureAndTheNextIsPreparedAfterThePaint) {
    spare = std::make_shared<SpareRendererView>(baseUri());
    spare->prepare();
    ASSERT_TRUE(runUntil([&] { return spare->ready(); }));
    open();
    EXPECT_FALSE(spare->ready());
    const ShotResult shot = screenshot(window->renderer(), false);
    ASSERT_TRUE(shot.image) << shot.error.value_or("");
    const ImageSize canvas = ImageLoadPipeline::canvas(window->controller().session());
    EXPECT_EQ(sizeOf(*shot.image), sizeOf(canvas));
    // The picture's grey bar crosses the middle column.
    bool bar = false;
    for (int y = 0; y < shot.image->height && !bar; ++y) {
        const std::uint8_t* p = shot.image->at(shot.image->width / 2, y);
        bar = std::abs(p[0] - 90) < 4 && std::abs(p[1] - 90) < 4 && std::abs(p[2] - 90) < 4;
    }
    EXPECT_TRUE(bar);
    EXPECT_TRUE(runUntil([&] { return spare->ready(); }));
}
