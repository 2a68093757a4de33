#include "editor/ExportLeakGuard.h"

#include "base/Logger.h"
#include "editor/RedactionLeakCheck.h"

#include <glib.h>
#include <thread>

namespace lumeris {

ExportLeakGuard::ExportLeakGuard(std::shared_ptr<TextRecognizer> recognizer)
    : recognizer_(std::move(recognizer)) {}

void ExportLeakGuard::pass(Snapshot raw, std::optional<Request> request,
                           std::function<void(Snapshot)> done) {
    if (!raw || !request || request->patterns.empty() || !recognizer_) {
        done(std::move(raw));
        return;
    }
    if (lastRaw_ && *request == lastRequest_ && (raw == lastRaw_ || *raw == *lastRaw_)) {
        done(lastChecked_);
        return;
    }
    struct Job {
        std::weak_ptr<ExportLeakGuard> owner;
        Snapshot raw;
        Request request;
        std::function<void(Snapshot)> done;
        Snapshot checked;
    };
    auto* job = new Job{weak_from_this(), std::move(raw), std::move(*request), std::move(done), {}};
    GMainContext* target = g_main_context_ref_thread_default();
    std::thread([job, target, recognizer = recognizer_] {
        auto picture = std::make_shared<RgbaImage>(*job->raw);
        std::string error;
        const auto covered = RedactionLeakCheck::cover(*recognizer, *picture, job->request.patterns,
                                                       job->request.colour, job->request.margin,
                                                       &error, job->request.first.get());
        if (!covered) {
            LOG_ERROR("the exported picture could not be read again for redaction: {}", error);
            job->checked = job->raw;
        } else {
            if (*covered > 0) {
                LOG_WARNING("covered {} piece(s) of matching text left in the exported picture",
                            *covered);
            }
            job->checked = std::move(picture);
        }
        g_main_context_invoke_full(
            target, G_PRIORITY_DEFAULT,
            [](gpointer data) -> gboolean {
                auto* finished = static_cast<Job*>(data);
                if (auto self = finished->owner.lock()) {
                    self->remember(finished->raw, finished->request, finished->checked);
                    finished->done(finished->checked);
                }
                return G_SOURCE_REMOVE;
            },
            job, [](gpointer data) { delete static_cast<Job*>(data); });
        g_main_context_unref(target);
    }).detach();
}

void ExportLeakGuard::remember(Snapshot raw, Request request, Snapshot checked) {
    lastRaw_ = std::move(raw);
    lastRequest_ = std::move(request);
    lastChecked_ = std::move(checked);
}

} // namespace lumeris
