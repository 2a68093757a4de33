#include "analysis/ImageSize.h"
#include "base/Base64.h"
#include "export/ImageEncoder.h"
#include "fakes/RecordingWebViewDelegate.h"
#include "gui/RendererTestSupport.h"
#include "gui/SyntheticInput.h"
#include "render/EditorDocument.h"
#include "render/gtk/SnapshotTask.h"
#include "support/ImageFiles.h"

#include <cmath>

using namespace lumeris;
using namespace lumeris::testing;

namespace {

constexpr int IMAGE_WIDTH = 160;
constexpr int IMAGE_HEIGHT = 100;
constexpr int PADDING = 40;
constexpr std::uint32_t REDACTION = 0x00C853FF;
// A recognised word, in points with a bottom-left origin: top-left (20, 44), 50 × 14.
const Rect WORD{20, 42, 50, 14};

struct Composition {
    std::string html;
    int width;
    int height;
};

// The editor's document and style around a light screenshot with one dark word on it.
Composition composition(const std::string& ratio) {
    const RgbaImage image = painted(IMAGE_WIDTH, IMAGE_HEIGHT, [](int x, int y) {
        return grey(x >= 20 && x < 70 && y >= 44 && y < 58 ? 60 : 230);
    });
    StyleSheetInputs in;
    in.padding = PADDING;
    in.backgroundID = "custom";
    in.plainColor = "#204060";
    in.redactColor = "#00C853";
    in.ratio = ratio;
    in.imageWidth = IMAGE_WIDTH;
    in.imageHeight = IMAGE_HEIGHT;
    const ImageSize size(0, PADDING, ratio, "", IMAGE_WIDTH, IMAGE_HEIGHT);
    return {EditorDocument::html(EditorDocument::styleSheet(in), "",
                                 Base64::encode(ImageEncoder::pngData(image)), {}, {WORD},
                                 IMAGE_WIDTH, IMAGE_HEIGHT),
            static_cast<int>(std::lround(size.bgWidth)),
            static_cast<int>(std::lround(size.bgHeight))};
}

struct Box {
    int left = INT32_MAX;
    int top = INT32_MAX;
    int right = -1; // inclusive
    int bottom = -1;
    bool empty() const { return right < 0; }
};

// The bounding box of the pixels `matches` accepts.
Box paintedBox(const RgbaImage& image, const std::function<bool(std::uint32_t)>& matches) {
    Box box;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (matches(pixel(image, x, y))) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
            }
        }
    }
    return box;
}

bool annotationRed(std::uint32_t rgba) {
    const auto r = rgba >> 24;
    const auto g = rgba >> 16 & 0xFF;
    const auto b = rgba >> 8 & 0xFF;
    return r > 180 && g < 120 && b < 120;
}

bool redaction(std::uint32_t rgba) {
    return rgba == REDACTION;
}

class AnnotationToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(baseUri().empty()) << "viewer.html not found";
        window->view().setDelegate(delegate);
        load(initial.html);
    }

    void load(const std::string& html) {
        ASSERT_EQ(loadDocument(*window, html), std::nullopt);
        delegate->events.clear();
    }

    nlohmann::json evaluate(const std::string& script) {
        return nlohmann::json::parse(
            lumeris::testing::evaluate(window->view(), script).value_or("null"), nullptr, false);
    }

    // The annotations as the application would carry them across a reload.
    nlohmann::json items() {
        std::optional<std::optional<std::string>> json;
        window->view().annotations([&](const std::optional<std::string>& j) { json = j; });
        runUntil([&] { return json.has_value(); });
        return nlohmann::json::parse(json.value_or(std::nullopt).value_or("{}"), nullptr,
                                     false)["items"];
    }

    std::vector<std::string> modeChanges() {
        std::vector<std::string> modes;
        for (const auto& [name, payload] : delegate->events) {
            if (name == "CHANGE_MODE") {
                modes.push_back(payload.value_or("").get<std::string>());
            }
        }
        return modes;
    }

    bool cancel() { return lumeris::testing::cancel(window->view()); }

    RgbaImage shot() {
        auto result = screenshot(window->view(), false);
        EXPECT_TRUE(result.image) << result.error.value_or("");
        return result.image ? *result.image : RgbaImage(1, 1);
    }

    // Where the picture's top-left corner is on the canvas.
    std::pair<int, int> pictureOrigin() {
        auto origin = evaluate("(function () { var r = document.querySelector('.image img')"
                               ".getBoundingClientRect(); return [r.left, r.top]; })()");
        return {static_cast<int>(std::lround(origin[0].get<double>())),
                static_cast<int>(std::lround(origin[1].get<double>()))};
    }

    LogCapture log;
    const Composition initial = composition("auto");
    std::unique_ptr<RenderWindow> window = [this] {
        auto shown = std::make_unique<RenderWindow>(initial.width, initial.height);
        shown->showForInput();
        return shown;
    }();
    std::shared_ptr<RecordingWebViewDelegate> delegate =
        std::make_shared<RecordingWebViewDelegate>();
    SyntheticInput input{window->view()};
};

TEST_F(AnnotationToolsTest, EachKeyEntersItsToolRepeatsCycleTheStyleAndADragDrawsThere) {
    struct Case {
        guint key;
        int presses;
        std::string mode;
        std::string kind;
        std::string style;
    };
    const Case cases[] = {
        {GDK_KEY_2, 1, "add-arrow", "arrow", "straight"},
        {GDK_KEY_2, 3, "add-arrow", "arrow", "double"},
        {GDK_KEY_4, 2, "add-shape", "shape", "ellipse"},
        {GDK_KEY_4, 4, "add-shape", "shape", "ring"},
        {GDK_KEY_3, 2, "redact", "redact", "box"},
        {GDK_KEY_1, 2, "add-text", "text", "large"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind + " " + c.style);
        load(initial.html);
        for (int i = 0; i < c.presses; ++i) {
            input.key(c.key);
        }
        EXPECT_EQ(modeChanges(), std::vector<std::string>{c.mode}) << "a repeat stays in the tool";

        Box expected{70, 70, 170, 130};
        if (c.kind == "text") {
            input.click(70, 90);
            input.type("Hi");
            input.key(GDK_KEY_Escape);
            expected = {70, 70, 125, 110};
        } else {
            input.drag(70, 70, 170, 130);
        }
        auto drawn = items();
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0]["kind"], c.kind);
        EXPECT_EQ(drawn[0]["style"], c.style);
        EXPECT_EQ(evaluate("document.querySelectorAll('#draw-canvas .annotation-item').length"), 1);

        const Box painted = paintedBox(shot(), c.kind == "redact" ? redaction : annotationRed);
        ASSERT_FALSE(painted.empty());
        EXPECT_NEAR(painted.left, expected.left, 6);
        EXPECT_NEAR(painted.top, expected.top, 8);
        if (c.kind == "text") {
            EXPECT_GT(painted.right, expected.left + 15);
            EXPECT_LT(painted.right, expected.right);
            EXPECT_LT(painted.bottom, expected.bottom);
        } else {
            EXPECT_NEAR(painted.right, expected.right, 6);
            EXPECT_NEAR(painted.bottom, expected.bottom, 6);
        }

        EXPECT_TRUE(cancel()) << "Escape leaves the tool";
        EXPECT_EQ(modeChanges().back(), "free");
        EXPECT_FALSE(cancel()) << "nothing left to cancel: the editor may close";
    }
}

TEST_F(AnnotationToolsTest, ClickOnARecognisedWordCoversExactlyItsRectangle) {
    input.key(GDK_KEY_3);
    const auto [x0, y0] = pictureOrigin();
    input.click(x0 + 45, y0 + 51);
    const RgbaImage picture = shot();
    // Top-left origin: the word's rectangle on the canvas.
    const int left = x0 + 20;
    const int top = y0 + 44;
    const Box painted = paintedBox(picture, redaction);
    EXPECT_EQ(painted.left, left);
    EXPECT_EQ(painted.top, top);
    EXPECT_EQ(painted.right, left + 49);
    EXPECT_EQ(painted.bottom, top + 13);
    for (int y = top; y < top + 14; ++y) {
        for (int x = left; x < left + 50; ++x) {
            ASSERT_EQ(pixel(picture, x, y), REDACTION) << x << "," << y;
        }
    }
}

TEST_F(AnnotationToolsTest, SelectMoveResizeDeleteUndoRedoAndHandlesLeftOutOfSnapshots) {
    const auto [x0, y0] = pictureOrigin();
    input.key(GDK_KEY_4);
    input.drag(x0 + 20, y0 + 20, x0 + 80, y0 + 70);
    input.key(GDK_KEY_Escape);
    EXPECT_EQ(modeChanges().back(), "free");

    // A click on its outline selects it; the handles show on screen but not in the picture.
    input.click(x0 + 20, y0 + 45);
    std::optional<RgbaImage> onScreen;
    SnapshotTask::start(window->view().webView(), std::chrono::seconds(10),
                        [&](const SnapshotTask::Image& image, auto) {
                            onScreen = image ? *image : RgbaImage(1, 1);
                        });
    ASSERT_TRUE(runUntil([&] { return onScreen.has_value(); }));
    EXPECT_EQ(pixel(*onScreen, x0 + 80, y0 + 70), 0xFFFFFFFFu) << "a handle on the corner";
    EXPECT_TRUE(annotationRed(pixel(shot(), x0 + 80, y0 + 70))) << "the outline, no handle";
    // Handles take the pointer again once the snapshot's second is over.
    ASSERT_TRUE(runUntil(
        [&] { return evaluate("document.body.classList.contains('screenshot-mode')") == false; }));

    input.drag(x0 + 20, y0 + 45, x0 + 40, y0 + 55);   // move by (20, 10)
    input.drag(x0 + 100, y0 + 80, x0 + 110, y0 + 90); // the bottom-right handle
    input.key(GDK_KEY_Delete);

    using Frame = std::array<double, 4>;
    const Frame drawn{20, 20, 60, 50};
    const Frame moved{40, 30, 60, 50};
    const Frame resized{40, 30, 70, 60};
    auto frame = [&] {
        auto all = items();
        if (all.size() != 1) {
            return Frame{-1, -1, -1, static_cast<double>(all.size())};
        }
        return Frame{all[0]["x"], all[0]["y"], all[0]["w"], all[0]["h"]};
    };
    EXPECT_TRUE(items().empty());
    const auto control = GDK_CONTROL_MASK;
    const auto controlShift = GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK);
    const struct {
        guint key;
        GdkModifierType modifiers;
        Frame expected;
    } steps[] = {
        {GDK_KEY_z, control, resized},      {GDK_KEY_z, control, moved},
        {GDK_KEY_z, control, drawn},        {GDK_KEY_Z, controlShift, moved},
        {GDK_KEY_Z, controlShift, resized}, {GDK_KEY_z, control, moved},
    };
    for (const auto& step : steps) {
        input.key(step.key, step.modifiers);
        EXPECT_EQ(frame(), step.expected);
    }
    const Box painted = paintedBox(shot(), annotationRed);
    EXPECT_NEAR(painted.left, x0 + 40, 3);
    EXPECT_NEAR(painted.bottom, y0 + 80, 3);
}

TEST_F(AnnotationToolsTest, TypedOrRestoredMarkupStaysText) {
    const std::string typed = "</text><script>window.ran = 1</script><img src=x>";
    input.key(GDK_KEY_1);
    input.click(60, 80);
    input.type(typed);
    input.key(GDK_KEY_Escape);
    ASSERT_EQ(items().size(), 1u);
    EXPECT_EQ(items()[0]["text"], typed);
    EXPECT_EQ(evaluate("document.querySelector('#draw-canvas .text-annotation').textContent"),
              typed);

    // Restored annotations are checked entry by entry; the text stays text there as well.
    window->view().restoreAnnotations(
        R"({"version":1,"items":[{"kind":"text","style":"small","x":5,"y":5,"size":12,)"
        R"("text":"<img src=x onerror=\"window.ran = 2\">"},{"kind":"script","x":1},)"
        R"({"kind":"shape","style":"ellipse","x":1,"y":2,"w":-3,"h":4,"width":2}]})");
    ASSERT_TRUE(runUntil([&] { return window->view().pageLoaded(); }));
    EXPECT_EQ(items().size(), 1u);
    window->view().restoreAnnotations("not json");
    ASSERT_TRUE(runUntil([&] { return window->view().pageLoaded(); }));
    EXPECT_EQ(items().size(), 1u) << "a text that is no annotation list changes nothing";
    EXPECT_EQ(log.count("The annotations could not be restored: the document refused them"), 1);

    EXPECT_EQ(evaluate("[window.ran === undefined, "
                       "document.querySelectorAll('#draw-canvas script, #draw-canvas img')"
                       ".length]"),
              nlohmann::json::parse("[true, 0]"));
}

TEST_F(AnnotationToolsTest, AnnotationsKeepTheirPixelsAcrossReloadsOfTheSamePicture) {
    auto relativeBox = [&] {
        const auto [x0, y0] = pictureOrigin();
        Box box = paintedBox(shot(), redaction);
        return std::array<int, 4>{box.left - x0, box.top - y0, box.right - x0, box.bottom - y0};
    };
    const auto [x0, y0] = pictureOrigin();
    input.key(GDK_KEY_3);
    input.drag(x0 + 100, y0 + 10, x0 + 140, y0 + 40);
    const auto before = relativeBox();
    EXPECT_EQ(before, (std::array<int, 4>{100, 10, 139, 39}));

    // A ratio change, then the reload recognition makes, before the first has finished.
    const Composition wide = composition("16:9");
    window->setCanvasSize(wide.width, wide.height);
    window->view().loadDocumentKeepingAnnotations(wide.html, baseUri());
    window->view().loadDocumentKeepingAnnotations(wide.html, baseUri());
    ASSERT_TRUE(runUntil([&] { return window->view().pageLoaded(); }));
    EXPECT_NE(pictureOrigin(), std::make_pair(x0, y0)) << "the picture moved";
    EXPECT_EQ(relativeBox(), before);
    EXPECT_EQ(modeChanges().back(), "redact") << "the tool stays in use";

    // A plain load is a fresh start; annotations of a picture of another size are not taken.
    const nlohmann::json kept = items();
    load(wide.html);
    EXPECT_TRUE(items().empty());
    window->view().restoreAnnotations(
        nlohmann::json{{"image", {{"width", 320}, {"height", 200}}}, {"items", kept}}.dump());
    ASSERT_TRUE(runUntil([&] { return window->view().pageLoaded(); }));
    EXPECT_TRUE(items().empty());
}

} // namespace
