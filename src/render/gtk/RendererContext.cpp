#include "render/gtk/RendererContext.h"

#include "render/RendererScripts.h"

#include <string>

namespace lumeris {

namespace {

GHandle<WebKitUserScript, webkit_user_script_unref> documentStartScript(const std::string& source) {
    return GHandle<WebKitUserScript, webkit_user_script_unref>(
        webkit_user_script_new(source.c_str(), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr));
}

} // namespace

RendererContext& RendererContext::shared() {
    // Never destroyed: WebKit must not be torn down by static destructors after GTK is gone.
    static RendererContext* context = new RendererContext();
    return *context;
}

// The context is ephemeral (nothing written to disk) and routes all network traffic to a closed
// local port, so a document can never reach the network, whatever it references: the renderer
// only ever needs file: and data: URLs.
RendererContext::RendererContext()
    : webContext_(webkit_web_context_new_ephemeral()),
      scripts_{documentStartScript(RendererScripts::loggingBridgeScript()),
               documentStartScript(RendererScripts::pointerScript()),
               documentStartScript(RendererScripts::windowLoadScript())} {
    GHandle<WebKitNetworkProxySettings, webkit_network_proxy_settings_free> deadEnd(
        webkit_network_proxy_settings_new("http://127.0.0.1:9", nullptr));
    webkit_website_data_manager_set_network_proxy_settings(
        webkit_web_context_get_website_data_manager(webContext_.get()),
        WEBKIT_NETWORK_PROXY_MODE_CUSTOM, deadEnd.get());
    webkit_web_context_set_cache_model(webContext_.get(), WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
}

GObjectPtr<WebKitUserContentManager> RendererContext::newContentManager() const {
    GObjectPtr<WebKitUserContentManager> manager(webkit_user_content_manager_new());
    for (const auto& script : scripts_) {
        webkit_user_content_manager_add_script(manager.get(), script.get());
    }
    return manager;
}

GObjectPtr<WebKitWebView>
RendererContext::newWebView(WebKitUserContentManager* contentManager) const {
    // File access from file URLs keeps the document's origin that of viewer.html, so uncaught
    // errors reach the logging bridge with their message instead of a muted "Script error.".
    GObjectPtr<WebKitSettings> settings(webkit_settings_new_with_settings(
        "hardware-acceleration-policy", WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER,
        "enable-developer-extras", FALSE, "enable-webrtc", FALSE, "enable-webaudio", FALSE,
        "javascript-can-open-windows-automatically", FALSE, "allow-file-access-from-file-urls",
        TRUE, nullptr));
    auto view = GObjectPtr<WebKitWebView>::sinkFloating(WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", webContext_.get(), "user-content-manager",
                     contentManager, "settings", settings.get(), nullptr)));
    // No background of its own: transparent areas of the page stay transparent.
    GdkRGBA clear{0, 0, 0, 0};
    webkit_web_view_set_background_color(view.get(), &clear);
    return view;
}

} // namespace lumeris
