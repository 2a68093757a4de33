#include "editor/TextRecognitionTask.h"

#include "analysis/TextRecognizer.h"
#include "base/Diagnostics.h"

#include <iostream>
#include <thread>

namespace lumeris {

namespace {

// Runs `work` once on `context`'s thread.
void post(GMainContext* context, std::function<void()> work) {
    auto* heapWork = new std::function<void()>(std::move(work));
    g_main_context_invoke_full(
        context, G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        heapWork, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

} // namespace

std::string TextRecognitionTask::failureLine(const std::string& error) {
    return "Unable to perform the requests: " + error + ".";
}

void TextRecognitionTask::start(std::shared_ptr<TextRecognizer> recognizer,
                                std::shared_ptr<const RgbaImage> bitmap, double imagePointWidth,
                                std::vector<std::string> patterns, Handlers handlers,
                                GMainContext* context) {
    if (!recognizer || !bitmap) {
        Diagnostics::print(failureLine("no recogniser or bitmap"));
        return;
    }
    GMainContext* target =
        context ? g_main_context_ref(context) : g_main_context_ref_thread_default();
    // Worker thread: everything here reads only what the closure owns.
    std::thread([recognizer = std::move(recognizer), bitmap = std::move(bitmap), imagePointWidth,
                 patterns = std::move(patterns), handlers = std::move(handlers), target]() mutable {
        std::string error;
        auto detected =
            TextDetection::detect(*recognizer, *bitmap, imagePointWidth, patterns, &error);
        if (!detected) {
            Diagnostics::print(failureLine(error));
            g_main_context_unref(target);
            return;
        }
        auto result = std::move(*detected);
        const auto joined = TextDetection::joinedText(result.detectedText);
        if (!joined.empty() && handlers.addDetectedText) {
            post(target, [add = handlers.addDetectedText, joined] { add(joined); });
        }
        if (handlers.applied) {
            post(target, [applied = std::move(handlers.applied),
                          result = std::move(result)]() mutable { applied(std::move(result)); });
        }
        g_main_context_unref(target);
    }).detach();
}

} // namespace lumeris
