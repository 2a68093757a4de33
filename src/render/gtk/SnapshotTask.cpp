#include "render/gtk/SnapshotTask.h"

#include "render/SnapshotPixels.h"

namespace lumeris {

SnapshotTask::SnapshotTask(Callback callback)
    : pending_(std::make_shared<Pending>(std::move(callback))) {}

void SnapshotTask::start(WebKitWebView* view, std::chrono::milliseconds timeout,
                         Callback callback) {
    auto task = std::make_shared<SnapshotTask>(std::move(callback));
    task->pending_->arm(
        timeout, [](Pending& timedOut) { timedOut.answer(nullptr, "the snapshot timed out"); });
    webkit_web_view_get_snapshot(
        view, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_TRANSPARENT_BACKGROUND,
        task->pending_->cancellable(),
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::shared_ptr<SnapshotTask>> held(
                static_cast<std::shared_ptr<SnapshotTask>*>(data));
            (*held)->finish(WEBKIT_WEB_VIEW(source), result);
        },
        new std::shared_ptr<SnapshotTask>(task));
}

void SnapshotTask::finish(WebKitWebView* view, GAsyncResult* result) {
    surface_.reset(webkit_web_view_get_snapshot_finish(view, result, GErrorOut(error_)));
    if (!surface_) {
        pending_->answer(nullptr, error_ ? error_->message : "no snapshot");
        return;
    }
    Image pixels = image();
    if (!pixels || pixels->empty()) {
        pending_->answer(nullptr, "the snapshot has an unexpected format");
        return;
    }
    pending_->answer(std::move(pixels), std::nullopt);
}

SnapshotTask::Image SnapshotTask::image() const {
    cairo_surface_t* surface = surface_.get();
    cairo_surface_flush(surface);
    if (cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        return nullptr;
    }
    return std::make_shared<const RgbaImage>(SnapshotPixels::fromPremultipliedArgb32(
        cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
        cairo_image_surface_get_height(surface), cairo_image_surface_get_stride(surface)));
}

} // namespace lumeris
