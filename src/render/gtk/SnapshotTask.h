#pragma once

#include "base/GLibHandles.h"
#include "base/RgbaImage.h"
#include "render/gtk/PendingCall.h"

#include <cairo.h>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <webkit2/webkit2.h>

namespace lumeris {

// One snapshot of a view's visible region, transparent background kept, answered exactly once:
// with the pixels, or with why there are none (WebKit's error, a surface of an unexpected format,
// or the time-out).
class SnapshotTask {
public:
    using Image = std::shared_ptr<const RgbaImage>;
    using Callback = std::function<void(Image, std::optional<std::string>)>;

    static void start(WebKitWebView* view, std::chrono::milliseconds timeout, Callback callback);

    explicit SnapshotTask(Callback callback);

private:
    void finish(WebKitWebView* view, GAsyncResult* result);
    Image image() const;

    using Pending = PendingCall<Image, std::optional<std::string>>;
    using Surface = GHandle<cairo_surface_t, cairo_surface_destroy>;

    std::shared_ptr<Pending> pending_;
    GErrorPtr error_;
    Surface surface_;
};

} // namespace lumeris
