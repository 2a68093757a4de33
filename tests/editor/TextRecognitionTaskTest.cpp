#include "editor/TextRecognitionTask.h"

#include "editor/RedactionRules.h"
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

    // Blank text is not handed on, but the result still arrives.
    text.reset();
    result.reset();
    recognizer->outcome.observations = {monospacedLine("   ", 0, 0, 10, 20, 400, 100)};
    TextRecognitionTask::start(recognizer, bitmap, 400, {}, handlers);
    main.runUntil([&] { return result.has_value(); });
    main.runUntil([] { return false; }, 0.2); // let any stray post arrive
    ASSERT_TRUE(result);
    EXPECT_FALSE(text);
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
    main.runUntil([] { return false; }, 0.5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Unable to perform the requests: engine missing.\n");
    EXPECT_FALSE(called);
}
