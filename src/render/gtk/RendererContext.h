#pragma once

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"

#include <array>
#include <webkit2/webkit2.h>

namespace lumeris {

// What every renderer view shares: one web context and the user scripts installed in each view's
// content manager. Created once, on first use, on the main thread.
class RendererContext {
public:
    static RendererContext& shared();

    WebKitWebContext* webContext() const { return webContext_.get(); }

    // A content manager of its own for one view (script messages are per view), with the shared
    // scripts installed.
    GObjectPtr<WebKitUserContentManager> newContentManager() const;

    // A view on the shared context with the renderer's settings, using `contentManager`.
    GObjectPtr<WebKitWebView> newWebView(WebKitUserContentManager* contentManager) const;

    RendererContext(const RendererContext&) = delete;
    RendererContext& operator=(const RendererContext&) = delete;

private:
    RendererContext();

    using UserScript = GHandle<WebKitUserScript, webkit_user_script_unref>;

    GObjectPtr<WebKitWebContext> webContext_;
    std::array<UserScript, 3> scripts_;
};

} // namespace lumeris
