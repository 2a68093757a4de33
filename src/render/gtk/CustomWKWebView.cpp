#include "render/gtk/CustomWKWebView.h"

#include "base/Logger.h"
#include "render/RendererMessage.h"
#include "render/RendererScripts.h"
#include "render/SnapshotPixels.h"

#include <cairo.h>

namespace lumeris {

namespace {

// The three installed scripts, created once per process and shared by every view.
const std::array<WebKitUserScript*, 3>& installedScripts() {
    static const std::array<WebKitUserScript*, 3> scripts = [] {
        auto make = [](const std::string& source) {
            return webkit_user_script_new(source.c_str(), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                                          WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr,
                                          nullptr);
        };
        return std::array<WebKitUserScript*, 3>{make(RendererScripts::loggingBridgeScript()),
                                                make(RendererScripts::pointerScript()),
                                                make(RendererScripts::windowLoadScript())};
    }();
    return scripts;
}

// One context for every renderer view. It is ephemeral (nothing written to disk) and routes all
// network traffic to a closed local port, so a document can never reach the network, whatever
// it references: the renderer only ever needs file: and data: URLs.
WebKitWebContext* rendererContext() {
    static WebKitWebContext* context = [] {
        WebKitWebContext* created = webkit_web_context_new_ephemeral();
        WebKitNetworkProxySettings* deadEnd =
            webkit_network_proxy_settings_new("http://127.0.0.1:9", nullptr);
        webkit_website_data_manager_set_network_proxy_settings(
            webkit_web_context_get_website_data_manager(created), WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
            deadEnd);
        webkit_network_proxy_settings_free(deadEnd);
        webkit_web_context_set_cache_model(created, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
        return created;
    }();
    return context;
}

// An asynchronous renderer call with a bounded wait: answered exactly once, by the renderer or
// by the time-out, whichever comes first.
template <typename... Args> struct Pending {
    std::function<void(Args...)> callback;
    GObjectPtr<GCancellable> cancellable{g_cancellable_new()};
    guint timeoutId = 0;
    bool answered = false;

    void answer(Args... args) {
        if (answered) {
            return;
        }
        answered = true;
        if (timeoutId != 0) {
            g_source_remove(std::exchange(timeoutId, 0));
        }
        if (auto done = std::move(callback)) {
            done(std::move(args)...);
        }
    }
};

template <typename P>
void armTimeout(const std::shared_ptr<P>& pending, std::chrono::milliseconds timeout,
                std::function<void(P&)> onTimeout) {
    struct Armed {
        std::shared_ptr<P> pending;
        std::function<void(P&)> onTimeout;
    };
    pending->timeoutId = g_timeout_add_full(
        G_PRIORITY_DEFAULT, static_cast<guint>(timeout.count()),
        [](gpointer data) -> gboolean {
            auto* armed = static_cast<Armed*>(data);
            armed->pending->timeoutId = 0;
            g_cancellable_cancel(armed->pending->cancellable.get());
            armed->onTimeout(*armed->pending);
            return G_SOURCE_REMOVE;
        },
        new Armed{pending, std::move(onTimeout)},
        [](gpointer data) { delete static_cast<Armed*>(data); });
}

using PendingScript = Pending<std::optional<std::string>, std::optional<std::string>>;
using PendingSnapshot = Pending<CustomWKWebView::Image, std::optional<std::string>>;

} // namespace

std::shared_ptr<CustomWKWebView> CustomWKWebView::create() {
    auto view = std::make_shared<CustomWKWebView>(Private{});
    view->configure();
    return view;
}

CustomWKWebView::CustomWKWebView(Private) : queue_(Timeouts{}.windowLoad) {}

void CustomWKWebView::configure() {
    contentManager_ = GObjectPtr<WebKitUserContentManager>(webkit_user_content_manager_new());
    // File access from file URLs keeps the document's origin that of viewer.html, so uncaught
    // errors reach the logging bridge with their message instead of a muted "Script error.".
    WebKitSettings* settings = webkit_settings_new_with_settings(
        "hardware-acceleration-policy", WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER,
        "enable-developer-extras", FALSE, "enable-webrtc", FALSE, "enable-webaudio", FALSE,
        "javascript-can-open-windows-automatically", FALSE, "allow-file-access-from-file-urls",
        TRUE, nullptr);
    webView_ = GObjectPtr<WebKitWebView>::sinkFloating(WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", rendererContext(), "user-content-manager",
                     contentManager_.get(), "settings", settings, nullptr)));
    g_object_unref(settings);

    loggingHandler_ = std::make_unique<LoggingMessageHandler>(contentManager_.get());
    eventsHandler_ = std::make_unique<UserEventsHandler>(
        contentManager_.get(), std::weak_ptr<UserEventsHandlerDelegate>(shared_from_this()));
    for (WebKitUserScript* script : installedScripts()) {
        webkit_user_content_manager_add_script(contentManager_.get(), script);
    }

    // No background of its own: transparent parts of the page stay transparent.
    GdkRGBA clear{0, 0, 0, 0};
    webkit_web_view_set_background_color(webView_.get(), &clear);

    g_signal_connect(webView_.get(), "decide-policy", G_CALLBACK(&CustomWKWebView::decidePolicy),
                     this);
    g_signal_connect(webView_.get(), "web-process-terminated",
                     G_CALLBACK(&CustomWKWebView::webProcessTerminated), this);
    g_signal_connect(webView_.get(), "context-menu", G_CALLBACK(&CustomWKWebView::contextMenu),
                     this);
    g_signal_connect(webView_.get(), "scroll-event", G_CALLBACK(&CustomWKWebView::scrolled), this);
    g_signal_connect_after(webView_.get(), "leave-notify-event",
                           G_CALLBACK(&CustomWKWebView::leaveNotify), this);
}

CustomWKWebView::~CustomWKWebView() {
    if (webView_) {
        g_signal_handlers_disconnect_by_data(webView_.get(), this);
    }
    eventsHandler_.reset();
    loggingHandler_.reset();
    if (webView_) {
        GtkWidget* parent = gtk_widget_get_parent(widget());
        if (parent != nullptr) {
            gtk_container_remove(GTK_CONTAINER(parent), widget());
        }
    }
}

void CustomWKWebView::setTimeouts(const Timeouts& timeouts) {
    timeouts_ = timeouts;
    queue_.setLoadTimeout(timeouts.windowLoad);
}

void CustomWKWebView::loadDocument(const std::string& html, const std::string& baseUri) {
    lastScreenshot_.reset();
    queue_.setPageLoaded(false);
    documentHtml_ = html;
    documentBaseUri_ = baseUri;
    crashReloads_ = 0;
    navigationAllowed_ = true;
    webkit_web_view_load_html(webView_.get(), html.c_str(), baseUri.c_str());
}

void CustomWKWebView::onUserEventsMessage(const UserEvent& event) {
    LOG_DEBUG("user events message: {}", event.name);
    if (event.name == "windowload") {
        crashReloads_ = 0;
        queue_.setPageLoaded(true);
    }
    if (auto delegate = delegate_.lock()) {
        delegate->onWebViewUserEvents(event.name, event.payload);
    }
}

void CustomWKWebView::whenPageLoaded(std::function<void(bool)> callback) {
    std::weak_ptr<CustomWKWebView> weak = weak_from_this();
    queue_.enqueue([weak, callback = std::move(callback)](bool loaded) {
        if (weak.lock()) {
            callback(loaded);
        }
    });
}

void CustomWKWebView::getScreenshot(bool saveCache, ScreenshotCallback callback) {
    std::weak_ptr<CustomWKWebView> weak = weak_from_this();
    // Main thread, once the queue has seen the page loaded (or given up waiting).
    queue_.enqueue([weak, saveCache, callback = std::move(callback)](bool loaded) mutable {
        auto self = weak.lock();
        if (!self) {
            LOG_ERROR("self is nil!?");
            return;
        }
        if (!loaded) {
            LOG_ERROR("The document did not finish loading in time; no snapshot taken");
            callback(nullptr, std::string("timed out waiting for the document to load"));
            return;
        }
        if (self->lastScreenshot_) {
            LOG_DEBUG("SYNC-CHECK: use cached screenshot");
            callback(self->lastScreenshot_, std::nullopt);
            return;
        }
        self->takeFreshScreenshot(saveCache, std::move(callback));
    });
}

void CustomWKWebView::takeFreshScreenshot(bool saveCache, ScreenshotCallback callback) {
    lastScreenshot_.reset();
    std::weak_ptr<CustomWKWebView> weak = weak_from_this();
    evaluate(RendererScripts::screenshotModeScript(),
             [weak, saveCache, callback = std::move(callback)](auto, auto) mutable {
                 auto self = weak.lock();
                 if (!self) {
                     LOG_ERROR("self is nil!?");
                     return;
                 }
                 LOG_DEBUG("SYNC-CHECK: fresh screenshot");
                 auto pending = std::make_shared<PendingSnapshot>();
                 pending->callback = [weak, saveCache, callback = std::move(callback)](
                                         Image image, std::optional<std::string> error) {
                     auto owner = weak.lock();
                     if (!owner) {
                         return;
                     }
                     if (saveCache) {
                         owner->lastScreenshot_ = image;
                     }
                     callback(std::move(image), std::move(error));
                 };
                 armTimeout<PendingSnapshot>(pending, self->timeouts_.snapshot,
                                             [](PendingSnapshot& timedOut) {
                                                 timedOut.answer(nullptr, "the snapshot timed out");
                                             });
                 webkit_web_view_get_snapshot(
                     self->webView_.get(), WEBKIT_SNAPSHOT_REGION_VISIBLE,
                     WEBKIT_SNAPSHOT_OPTIONS_TRANSPARENT_BACKGROUND, pending->cancellable.get(),
                     [](GObject* source, GAsyncResult* result, gpointer data) {
                         std::unique_ptr<std::shared_ptr<PendingSnapshot>> held(
                             static_cast<std::shared_ptr<PendingSnapshot>*>(data));
                         GError* error = nullptr;
                         cairo_surface_t* surface = webkit_web_view_get_snapshot_finish(
                             WEBKIT_WEB_VIEW(source), result, &error);
                         if (surface == nullptr) {
                             std::string message = error ? error->message : "no snapshot";
                             g_clear_error(&error);
                             (*held)->answer(nullptr, message);
                             return;
                         }
                         cairo_surface_flush(surface);
                         Image image;
                         if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
                             cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32) {
                             image = std::make_shared<const RgbaImage>(
                                 SnapshotPixels::fromPremultipliedArgb32(
                                     cairo_image_surface_get_data(surface),
                                     cairo_image_surface_get_width(surface),
                                     cairo_image_surface_get_height(surface),
                                     cairo_image_surface_get_stride(surface)));
                         }
                         cairo_surface_destroy(surface);
                         if (!image || image->empty()) {
                             (*held)->answer(nullptr, "the snapshot has an unexpected format");
                             return;
                         }
                         (*held)->answer(std::move(image), std::nullopt);
                     },
                     new std::shared_ptr<PendingSnapshot>(pending));
             });
}

void CustomWKWebView::evaluate(const std::string& script, ScriptCallback callback) {
    auto pending = std::make_shared<PendingScript>();
    pending->callback = std::move(callback);
    armTimeout<PendingScript>(pending, timeouts_.script, [](PendingScript& timedOut) {
        timedOut.answer(std::nullopt, "the script timed out");
    });
    webkit_web_view_evaluate_javascript(
        webView_.get(), script.c_str(), static_cast<gssize>(script.size()), nullptr, nullptr,
        pending->cancellable.get(),
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::shared_ptr<PendingScript>> held(
                static_cast<std::shared_ptr<PendingScript>*>(data));
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
            if (value == nullptr) {
                std::string message = error ? error->message : "no result";
                g_clear_error(&error);
                (*held)->answer(std::nullopt, message);
                return;
            }
            std::string json = jscValueJson(value);
            g_object_unref(value);
            (*held)->answer(std::move(json), std::nullopt);
        },
        new std::shared_ptr<PendingScript>(pending));
}

void CustomWKWebView::restyle(const std::string& script) {
    lastScreenshot_.reset();
    evaluate(script);
}

void CustomWKWebView::handleCancelOperation(std::function<void(bool)> callback) {
    lastScreenshot_.reset();
    evaluate(RendererScripts::cancelOperationScript(),
             [callback = std::move(callback)](std::optional<std::string> json, auto) {
                 callback(json && RendererMessage::isTrue(*json));
             });
}

void CustomWKWebView::selectedText(std::function<void(std::string)> callback) {
    evaluate(RendererScripts::selectedTextScript(),
             [callback = std::move(callback)](std::optional<std::string> json, auto) {
                 auto text = json ? RendererMessage::stringValue(*json) : std::nullopt;
                 callback(text.value_or(""));
             });
}

void CustomWKWebView::activateCommand(const std::string& flag) {
    lastScreenshot_.reset();
    evaluate(RendererScripts::activateCommandScript(flag),
             [flag](auto, std::optional<std::string> error) {
                 if (error) {
                     LOG_ERROR("Activating {} failed: {}", flag, *error);
                 }
             });
}

void CustomWKWebView::resetDragState() {
    evaluate(RendererScripts::resetDragStateScript());
}

// Only the document load this view started may navigate; links, form posts, scripted location
// changes and new windows are refused.
gboolean CustomWKWebView::decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                       WebKitPolicyDecisionType type, gpointer data) {
    auto* self = static_cast<CustomWKWebView*>(data);
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        return FALSE;
    }
    if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION && self->navigationAllowed_) {
        WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
            WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        WebKitURIRequest* request = webkit_navigation_action_get_request(action);
        const char* uri = webkit_uri_request_get_uri(request);
        if (uri != nullptr && self->documentBaseUri_ == uri) {
            self->navigationAllowed_ = false;
            webkit_policy_decision_use(decision);
            return TRUE;
        }
    }
    LOG_WARNING("Refused a navigation away from the document");
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

void CustomWKWebView::webProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                           gpointer data) {
    auto* self = static_cast<CustomWKWebView*>(data);
    LOG_ERROR("The renderer's web process ended (reason {})", static_cast<int>(reason));
    self->lastScreenshot_.reset();
    self->queue_.setPageLoaded(false);
    // Reload from the main loop, not from inside WebKit's signal emission.
    std::weak_ptr<CustomWKWebView> weak = self->weak_from_this();
    auto* held = new std::weak_ptr<CustomWKWebView>(weak);
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer heldView) -> gboolean {
            if (auto view = static_cast<std::weak_ptr<CustomWKWebView>*>(heldView)->lock()) {
                view->reloadAfterCrash();
            }
            return G_SOURCE_REMOVE;
        },
        held,
        [](gpointer heldView) { delete static_cast<std::weak_ptr<CustomWKWebView>*>(heldView); });
}

void CustomWKWebView::reloadAfterCrash() {
    constexpr int MAX_CRASH_RELOADS = 3;
    if (documentBaseUri_.empty()) {
        return;
    }
    if (crashReloads_ >= MAX_CRASH_RELOADS) {
        LOG_ERROR("The document made the renderer fail {} times; not loading it again",
                  crashReloads_);
        return;
    }
    int reloads = crashReloads_ + 1;
    LOG_INFO("Loading the document again after the renderer failed");
    loadDocument(std::string(documentHtml_), std::string(documentBaseUri_));
    crashReloads_ = reloads;
}

gboolean CustomWKWebView::contextMenu(WebKitWebView*, WebKitContextMenu* menu, GdkEvent*,
                                      WebKitHitTestResult*, gpointer data) {
    auto* self = static_cast<CustomWKWebView*>(data);
    if (auto delegate = self->delegate_.lock()) {
        return delegate->onWebViewContextMenu(menu) ? TRUE : FALSE;
    }
    return FALSE;
}

// The page never scrolls: wheel events go to the enclosing scrolled window.
gboolean CustomWKWebView::scrolled(GtkWidget* widget, GdkEvent* event, gpointer) {
    if (GtkWidget* parent = gtk_widget_get_parent(widget)) {
        gtk_propagate_event(parent, event);
    }
    return TRUE;
}

gboolean CustomWKWebView::leaveNotify(GtkWidget*, GdkEvent*, gpointer data) {
    auto* self = static_cast<CustomWKWebView*>(data);
    if (auto delegate = self->delegate_.lock()) {
        delegate->onWebViewMouseExited();
    }
    return FALSE;
}

} // namespace lumeris
