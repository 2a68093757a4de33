#include "editor/EditorBackgroundWork.h"

#include "fakes/FakeTextRecognizer.h"
#include "support/FakeText.h"

#include <gtest/gtest.h>

using namespace lumeris;

// Wrapping answers on the thread that asked, with a session whose working image was replaced, and
// not at all when recognition fails.
TEST(EditorBackgroundWorkTest, TextWrapAnswersHereOnlyWhenItWorked) {
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    PreparedImage source;
    source.originalImage = {RgbaImage(400, 100), 200, 50};
    source.currentImage = source.originalImage;
    source.values.imageScale = 2.0;

    auto recognizer = std::make_shared<FakeTextRecognizer>();
    recognizer->outcome.observations = {monospacedLine("some words", 10, 30, 10, 20, 400, 100)};
    const auto wrap = EditorBackgroundWork::textWrap(recognizer);
    std::optional<PreparedImage> wrapped;
    std::thread::id answeredOn;
    wrap(source, true, [&](std::optional<PreparedImage> result) {
        wrapped = std::move(result);
        answeredOn = std::this_thread::get_id();
    });
    const gint64 limit = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
    while (!wrapped && g_get_monotonic_time() < limit) {
        g_main_context_iteration(context, FALSE);
        g_usleep(1000);
    }
    ASSERT_TRUE(wrapped.has_value());
    EXPECT_EQ(answeredOn, std::this_thread::get_id());
    EXPECT_FALSE(wrapped->strBase64.empty());
    EXPECT_EQ(wrapped->currentImage.pointWidth, wrapped->currentImage.image.width / 2.0);

    recognizer->outcome = TextRecognitionOutcome::failure("no engine");
    bool called = false;
    wrap(source, true, [&](auto) { called = true; });
    const gint64 wait = g_get_monotonic_time() + G_USEC_PER_SEC / 5;
    while (g_get_monotonic_time() < wait) {
        g_main_context_iteration(context, FALSE);
        g_usleep(1000);
    }
    EXPECT_FALSE(called);
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
}
