#include "editor/EditorBackgroundWork.h"

#include "editor/ExportLeakGuard.h"
#include "editor/RedactionRules.h"
#include "editor/TextRecognitionTask.h"
#include "fakes/FakeTextRecognizer.h"
#include "support/FakeText.h"

#include <gtest/gtest.h>
#include <thread>

using namespace lumeris;

namespace {

// A private main context, pushed as this thread's default for the test's lifetime.
struct Context {
    GMainContext* context = g_main_context_new();
    Context() { g_main_context_push_thread_default(context); }
    ~Context() {
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }
    // Iterates until `done` or a generous limit.
    void runUntil(const std::function<bool()>& done, double seconds = 10) {
        const gint64 limit = g_get_monotonic_time() + static_cast<gint64>(seconds * 1e6);
        while (!done() && g_get_monotonic_time() < limit) {
            g_main_context_iteration(context, FALSE);
            g_usleep(1000);
        }
    }
};

PreparedImage session(int width, int height, double scale) {
    PreparedImage source;
    source.originalImage =
        source.currentImage = {RgbaImage(width, height), width / scale, height / scale};
    source.values.imageScale = scale;
    return source;
}

} // namespace

TEST(TextRecognitionTaskTest, RecognisesOffThisThreadAndDeliversResultsHere) {
    Context main;
    auto recognizer = std::make_shared<FakeTextRecognizer>();
    recognizer->outcome.observations = {monospacedLine("  write to a@b.io", 0, 0, 10, 20, 400, 100),
                                        monospacedLine("second line\t", 0, 40, 10, 20, 400, 100)};
    std::optional<std::string> text;
    std::optional<TextDetectionResult> result;
    std::vector<std::thread::id> deliveredOn;
    const TextRecognitionTask::Handlers handlers{
        [&](const std::string& joined) {
            text = joined;
            deliveredOn.push_back(std::this_thread::get_id());
        },
        [&](TextDetectionResult applied) {
            result = std::move(applied);
            deliveredOn.push_back(std::this_thread::get_id());
        }};
    const auto bitmap = std::make_shared<RgbaImage>(400, 100);
    TextRecognitionTask::start(recognizer, bitmap, 200, {RedactionRules::EMAILS.pattern}, handlers);
    main.runUntil([&] { return text && result; });
    ASSERT_TRUE(text && result);
    EXPECT_EQ(*text, "write to a@b.io\nsecond line");
    EXPECT_EQ(deliveredOn, std::vector(2, std::this_thread::get_id()));
    EXPECT_NE(recognizer->recognizedOn.load(), std::this_thread::get_id());
    EXPECT_THAT(result->redactRects, testing::ElementsAre(RectNear(Rect{55, 0, 30, 10})));
    EXPECT_EQ(result->allTextRects.size(), 4u);

    // Blank text is not handed on (it would have been posted before the result), the result is.
    text.reset();
    result.reset();
    recognizer->outcome.observations = {monospacedLine("   ", 0, 0, 10, 20, 400, 100)};
    TextRecognitionTask::start(recognizer, bitmap, 400, {}, handlers);
    main.runUntil([&] { return result.has_value(); });
    ASSERT_TRUE(result);
    EXPECT_FALSE(text);
}

// The wrapped session comes back on the thread that asked, its working image replaced.
TEST(EditorBackgroundWorkTest, TextWrapAnswersHere) {
    Context main;
    auto recognizer = std::make_shared<FakeTextRecognizer>();
    recognizer->outcome.observations = {monospacedLine("some words", 10, 30, 10, 20, 400, 100)};
    std::optional<PreparedImage> wrapped;
    std::thread::id answeredOn;
    EditorBackgroundWork::textWrap(recognizer)(session(400, 100, 2), true, [&](auto result) {
        wrapped = std::move(result);
        answeredOn = std::this_thread::get_id();
    });
    main.runUntil([&] { return wrapped.has_value(); });
    ASSERT_TRUE(wrapped.has_value());
    EXPECT_EQ(answeredOn, std::this_thread::get_id());
    EXPECT_FALSE(wrapped->strBase64.empty());
    EXPECT_EQ(wrapped->currentImage.pointWidth, wrapped->currentImage.image.width / 2.0);
}

TEST(EditorBackgroundWorkTest, AFailedRecognitionIsPrintedAndAnswersNothing) {
    Context main;
    const auto failing =
        std::make_shared<FakeTextRecognizer>(TextRecognitionOutcome::failure("engine missing"));
    bool called = false;
    const auto answered = [&](auto&&...) {
        called = true;
    };
    testing::internal::CaptureStdout();
    TextRecognitionTask::start(failing, std::make_shared<RgbaImage>(10, 10), 10, {},
                               {answered, answered});
    EditorBackgroundWork::textWrap(failing)(session(10, 10, 1), true, answered);
    main.runUntil([] { return false; }, 0.5);
    const std::string line = "Unable to perform the requests: engine missing.\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), line + line);
    EXPECT_FALSE(called);
}

TEST(ExportLeakGuardTest, CoversOffThisThreadOnceForEqualPicturesAndPassesUncheckedAsIs) {
    Context main;
    auto recognizer = std::make_shared<FakeTextRecognizer>();
    recognizer->outcome.observations = {
        monospacedLine("  write to a@b.io", 0, 0, 10, 20, 400, 100)};
    auto guard = std::make_shared<ExportLeakGuard>(recognizer);
    const auto raw = std::make_shared<const RgbaImage>(400, 100);
    const ExportLeakGuard::Request red{{RedactionRules::EMAILS.pattern}, "#FF0000", 0, nullptr};
    std::vector<ExportLeakGuard::Snapshot> out;
    const auto collect = [&](ExportLeakGuard::Snapshot picture) {
        out.push_back(picture);
    };

    guard->pass(raw, std::nullopt, collect);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], raw);

    guard->pass(raw, red, collect);
    EXPECT_EQ(out.size(), 1u) << "the reading answers later, on this thread";
    main.runUntil([&] { return out.size() == 2; });
    ASSERT_EQ(out.size(), 2u);
    EXPECT_NE(recognizer->recognizedOn.load(), std::this_thread::get_id());
    // "a@b.io" spans x 110–170 and the bottom 20 rows.
    EXPECT_EQ(out[1]->at(140, 90)[0], 255);
    EXPECT_EQ(out[1]->at(100, 90)[0], 0);
    EXPECT_EQ(raw->at(140, 90)[0], 0) << "the drawn picture stays as it was";

    // The same picture again (a fresh snapshot of an unchanged document) is not read again.
    guard->pass(std::make_shared<const RgbaImage>(*raw), red, collect);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[2], out[1]);
    EXPECT_EQ(recognizer->calls, 1);
    // Another colour is another check.
    guard->pass(raw, ExportLeakGuard::Request{red.patterns, "#0000FF", 0, nullptr}, collect);
    main.runUntil([&] { return out.size() == 4; });
    EXPECT_EQ(recognizer->calls, 2);
}
