#include "editor/TextRecognitionTask.h"

#include "analysis/TextRecognizer.h"
#include "editor/RedactionRules.h"
#include "fakes/FakeTextRecognizer.h"
#include "support/FakeText.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace lumeris;

namespace {

// Runs a private main loop until `done` or a generous limit.
void runUntil(GMainContext* context, const std::function<bool()>& done, double seconds = 10) {
    const gint64 limit = g_get_monotonic_time() + static_cast<gint64>(seconds * G_USEC_PER_SEC);
    while (!done() && g_get_monotonic_time() < limit) {
        g_main_context_iteration(context, FALSE);
        g_usleep(1000);
    }
}

struct Context {
    GMainContext* context = g_main_context_new();
    Context() { g_main_context_push_thread_default(context); }
    ~Context() {
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }
};

} // namespace

TEST(TextRecognitionTaskTest, RecognisesOffThisThreadAndDeliversBothResultsHere) {
    Context main;
    TextRecognitionOutcome outcome;
    outcome.observations = {monospacedLine("  write to a@b.io", 0, 0, 10, 20, 400, 100),
                            monospacedLine("second line\t", 0, 40, 10, 20, 400, 100)};
    auto recognizer = std::make_shared<FakeTextRecognizer>(outcome);

    std::optional<std::string> text;
    std::optional<TextDetectionResult> result;
    std::thread::id textThread, resultThread;
    TextRecognitionTask::Handlers handlers;
    handlers.addDetectedText = [&](const std::string& joined) {
        text = joined;
        textThread = std::this_thread::get_id();
    };
    handlers.applied = [&](TextDetectionResult applied) {
        result = std::move(applied);
        resultThread = std::this_thread::get_id();
    };
    TextRecognitionTask::start(recognizer, std::make_shared<RgbaImage>(400, 100), 200,
                               {RedactionRules::EMAILS.pattern}, handlers);
    runUntil(main.context, [&] { return text && result; });

    ASSERT_TRUE(text && result);
    EXPECT_EQ(*text, "write to a@b.io\nsecond line");
    EXPECT_EQ(textThread, std::this_thread::get_id());
    EXPECT_EQ(resultThread, std::this_thread::get_id());
    EXPECT_NE(recognizer->recognizedOn.load(), std::this_thread::get_id());
    EXPECT_THAT(result->redactRects, testing::ElementsAre(RectNear(Rect{55, 0, 30, 10})));
    EXPECT_EQ(result->allTextRects.size(), 4u);
}

TEST(TextRecognitionTaskTest, BlankTextIsNotHandedOnButTheResultStillArrives) {
    Context main;
    TextRecognitionOutcome outcome;
    outcome.observations = {monospacedLine("   ", 0, 0, 10, 20, 400, 100)};
    bool textCalled = false;
    std::optional<TextDetectionResult> result;
    TextRecognitionTask::start(std::make_shared<FakeTextRecognizer>(outcome),
                               std::make_shared<RgbaImage>(400, 100), 400, {},
                               {[&](const std::string&) { textCalled = true; },
                                [&](TextDetectionResult r) {
                                    result = std::move(r);
                                }});
    runUntil(main.context, [&] { return result.has_value(); });
    ASSERT_TRUE(result);
    // Let any stray post arrive.
    runUntil(
        main.context, [] { return false; }, 0.2);
    EXPECT_FALSE(textCalled);
    EXPECT_TRUE(result->allTextRects.empty());
}

TEST(TextRecognitionTaskTest, AFailureIsPrintedAndNothingIsDelivered) {
    Context main;
    bool called = false;
    testing::internal::CaptureStdout();
    TextRecognitionTask::start(
        std::make_shared<FakeTextRecognizer>(TextRecognitionOutcome::failure("engine missing")),
        std::make_shared<RgbaImage>(10, 10), 10, {},
        {[&](const std::string&) { called = true; },
         [&](TextDetectionResult) {
             called = true;
         }});
    runUntil(
        main.context, [] { return false; }, 0.5);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "Unable to perform the requests: engine missing.\n");
    EXPECT_FALSE(called);
}
