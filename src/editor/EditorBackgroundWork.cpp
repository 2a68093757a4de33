#include "editor/EditorBackgroundWork.h"

#include "editor/RedactionRules.h"

#include <glib.h>
#include <thread>

namespace lumeris {

EditorController::RecognitionStarter
EditorBackgroundWork::recognition(std::shared_ptr<TextRecognizer> recognizer,
                                  const SettingsStore& settings) {
    return [recognizer = std::move(recognizer), &settings](std::shared_ptr<const RgbaImage> bitmap,
                                                           double imagePointWidth,
                                                           TextRecognitionTask::Handlers handlers) {
        TextRecognitionTask::start(recognizer, std::move(bitmap), imagePointWidth,
                                   RedactionRules::activePatterns(settings), std::move(handlers));
    };
}

EditorController::TextWrapStarter
EditorBackgroundWork::textWrap(std::shared_ptr<TextRecognizer> recognizer) {
    return [recognizer =
                std::move(recognizer)](const PreparedImage& source, bool useYOffset,
                                       std::function<void(std::optional<PreparedImage>)> done) {
        GMainContext* target = g_main_context_ref_thread_default();
        // Worker thread: wraps its own copy of the session.
        std::thread([recognizer, copy = source, useYOffset, done = std::move(done),
                     target]() mutable {
            std::optional<PreparedImage> wrapped;
            if (ImageLoadPipeline::wrapText(copy, *recognizer, useYOffset)) {
                wrapped = std::move(copy);
            }
            using Reply = std::pair<decltype(done), std::optional<PreparedImage>>;
            auto* reply = new Reply(std::move(done), std::move(wrapped));
            g_main_context_invoke_full(
                target, G_PRIORITY_DEFAULT,
                [](gpointer data) -> gboolean {
                    auto* r = static_cast<Reply*>(data);
                    if (r->second) {
                        r->first(std::move(r->second));
                    }
                    return G_SOURCE_REMOVE;
                },
                reply, [](gpointer data) { delete static_cast<Reply*>(data); });
            g_main_context_unref(target);
        }).detach();
    };
}

} // namespace lumeris
