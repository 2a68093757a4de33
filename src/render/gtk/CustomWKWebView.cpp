#include "render/gtk/CustomWKWebView.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"
#include "render/RendererMessage.h"
#include "render/RendererScripts.h"
#include "render/gtk/PendingCall.h"
#include "render/gtk/RendererContext.h"
#include "render/gtk/SnapshotTask.h"

#include <utility>

namespace lumeris {

namespace {

using PendingScript = PendingCall<std::optional<std::string>, std::optional<std::string>>;

} // namespace

std::shared_ptr<CustomWKWebView> CustomWKWebView::create() {
    auto view = std::make_shared<CustomWKWebView>(Private{});
    view->configure();
    return view;
}

CustomWKWebView::CustomWKWebView(Private) : queue_(Timeouts{}.windowLoad) {}

void CustomWKWebView::configure() {
    const RendererContext& context = RendererContext::shared();
    contentManager_ = context.newContentManager();
    webView_ = context.newWebView(contentManager_.get());
    zoom_ = std::make_unique<ViewZoom>(webView_.get());

    loggingChannel_ = std::make_unique<ScriptMessageChannel>(
        contentManager_.get(), "logging", [](const std::string& json) {
            if (auto line = RendererMessage::logLineFromJson(json)) {
                LOG_DEBUG(*line);
            }
        });
    std::weak_ptr<CustomWKWebView> weak = weak_from_this();
    eventsChannel_ = std::make_unique<ScriptMessageChannel>(
        contentManager_.get(), "events", [weak](const std::string& json) {
            auto event = RendererMessage::userEventFromJson(json);
            auto self = weak.lock();
            if (event && self) {
                self->onUserEventsMessage(*event);
            }
        });

    g_signal_connect(webView_.get(), "decide-policy", G_CALLBACK(&CustomWKWebView::decidePolicy),
                     this);
    g_signal_connect(webView_.get(), "load-changed", G_CALLBACK(&CustomWKWebView::loadChanged),
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
    eventsChannel_.reset();
    loggingChannel_.reset();
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
    carry_.json.reset();
    carry_.fetchDiscarded = carry_.fetching;
    startLoad(html, baseUri);
}

void CustomWKWebView::startLoad(const std::string& html, const std::string& baseUri) {
    ++loadGeneration_;
    lastScreenshot_.reset();
    queue_.setPageLoaded(false);
    documentHtml_ = html;
    documentBaseUri_ = baseUri;
    crashReloads_ = 0;
    navigationAllowed_ = true;
    loadCommitted_ = false;
    webkit_web_view_load_html(webView_.get(), html.c_str(), baseUri.c_str());
}

void CustomWKWebView::loadDocumentKeepingAnnotations(const std::string& html,
                                                     const std::string& baseUri) {
    // Scripts and loads reach the web process in the order they are sent, so the question is
    // answered by the document the load replaces. Annotations already on their way (fetched, or
    // being fetched, for a load this one replaces) are simply passed on.
    if (!carry_.json && !carry_.fetching) {
        carry_.fetching = true;
        carry_.fetchDiscarded = false;
        std::weak_ptr<CustomWKWebView> weak = weak_from_this();
        annotations([weak](std::optional<std::string> json) {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            AnnotationCarry& carry = self->carry_;
            carry.fetching = false;
            if (!carry.fetchDiscarded && !carry.json) {
                carry.json = std::move(json);
            }
            if (std::exchange(carry.loadedWhileFetching, false)) {
                self->documentLoaded();
            }
        });
    }
    startLoad(html, baseUri);
}

void CustomWKWebView::annotations(std::function<void(std::optional<std::string>)> callback) {
    evaluate(RendererScripts::annotationsScript(),
             [callback = std::move(callback)](std::optional<std::string> json,
                                              std::optional<std::string> error) {
                 if (error) {
                     LOG_WARNING("The document's annotations could not be read: {}", *error);
                 }
                 callback(json ? RendererMessage::stringValue(*json) : std::nullopt);
             });
}

void CustomWKWebView::restoreAnnotations(const std::string& json) {
    carry_.json = json;
    if (queue_.pageLoaded()) {
        lastScreenshot_.reset();
        queue_.setPageLoaded(false);
        documentLoaded();
    }
}

// The current document has painted; it counts as loaded once carried annotations are in it.
void CustomWKWebView::documentLoaded() {
    if (!carry_.json) {
        queue_.setPageLoaded(true);
        return;
    }
    const std::string json = std::move(*carry_.json);
    carry_.json.reset();
    const unsigned generation = loadGeneration_;
    std::weak_ptr<CustomWKWebView> weak = weak_from_this();
    evaluate(RendererScripts::restoreAnnotationsScript(json),
             [weak, generation](std::optional<std::string> taken,
                                const std::optional<std::string>& error) {
                 auto self = weak.lock();
                 if (!self) {
                     return;
                 }
                 if (error || !taken || *taken == "-1") {
                     LOG_ERROR("The annotations could not be restored: {}",
                               error.value_or("the document refused them"));
                 }
                 // A load started meanwhile reports its own.
                 if (generation == self->loadGeneration_) {
                     self->queue_.setPageLoaded(true);
                 }
             });
}

void CustomWKWebView::onUserEventsMessage(const UserEvent& event) {
    LOG_DEBUG("user events message: {}", event.name);
    if (event.name == "windowload") {
        crashReloads_ = 0;
        if (!loadCommitted_) {
            // Sent by the document the current load replaces.
            queue_.setPageLoaded(true);
        } else if (carry_.fetching) {
            carry_.loadedWhileFetching = true;
        } else {
            documentLoaded();
        }
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
    auto shoot = [weak, saveCache, callback = std::move(callback)]() mutable {
        auto self = weak.lock();
        if (!self) {
            LOG_ERROR("self is nil!?");
            return;
        }
        LOG_DEBUG("SYNC-CHECK: fresh screenshot");
        SnapshotTask::start(self->webView_.get(), self->timeouts_.snapshot,
                            [weak, saveCache, callback = std::move(callback)](
                                Image image, std::optional<std::string> error) {
                                auto owner = weak.lock();
                                if (!owner) {
                                    return;
                                }
                                owner->zoom_->release();
                                if (saveCache) {
                                    owner->lastScreenshot_ = image;
                                }
                                callback(std::move(image), std::move(error));
                            });
    };
    evaluate(RendererScripts::screenshotModeScript(),
             [weak, shoot = std::move(shoot)](auto, auto) mutable {
                 if (auto self = weak.lock()) {
                     self->atCanvasScale(std::move(shoot));
                 }
             });
}

void CustomWKWebView::atCanvasScale(std::function<void()> then) {
    zoom_->hold();
    if (zoom_->canvasWidth() == 0) {
        then();
        return;
    }
    // Also at zoom 1: a canvas size set just before (a slider) may not have been laid out yet.
    whenPageIsCanvasSized(std::chrono::steady_clock::now() + timeouts_.snapshot, std::move(then));
}

// The zoom change reaches the page before the script (one ordered channel), but the new size
// only after GTK's next layout; the page's viewport tells when both are in.
void CustomWKWebView::whenPageIsCanvasSized(std::chrono::steady_clock::time_point deadline,
                                            std::function<void()> then) {
    std::weak_ptr<CustomWKWebView> weak = weak_from_this();
    evaluate(
        "[window.innerWidth, window.innerHeight]",
        [weak, deadline, then = std::move(then)](std::optional<std::string> json, auto) mutable {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            const auto size = nlohmann::json::parse(json.value_or(""), nullptr, false);
            const bool sized = size.is_array() && size.size() == 2 &&
                               size[0] == self->zoom_->canvasWidth() &&
                               size[1] == self->zoom_->canvasHeight();
            if (sized || std::chrono::steady_clock::now() > deadline) {
                if (!sized) {
                    LOG_WARNING("The page did not take the canvas size before the snapshot");
                }
                then();
                return;
            }
            auto* retry =
                new std::function<void()>([weak, deadline, then = std::move(then)]() mutable {
                    if (auto view = weak.lock()) {
                        view->whenPageIsCanvasSized(deadline, std::move(then));
                    }
                });
            g_timeout_add_full(
                G_PRIORITY_DEFAULT, 10,
                [](gpointer data) -> gboolean {
                    (*static_cast<std::function<void()>*>(data))();
                    return G_SOURCE_REMOVE;
                },
                retry, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
        });
}

void CustomWKWebView::evaluate(const std::string& script, ScriptCallback callback) {
    auto pending = std::make_shared<PendingScript>(std::move(callback));
    pending->arm(timeouts_.script, [](PendingScript& timedOut) {
        timedOut.answer(std::nullopt, "the script timed out");
    });
    webkit_web_view_evaluate_javascript(
        webView_.get(), script.c_str(), static_cast<gssize>(script.size()), nullptr, nullptr,
        pending->cancellable(),
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto pending = PendingScript::adopt(data);
            GErrorPtr error;
            GObjectPtr<JSCValue> value(webkit_web_view_evaluate_javascript_finish(
                WEBKIT_WEB_VIEW(source), result, GErrorOut(error)));
            if (!value) {
                pending->answer(std::nullopt, error ? error->message : "no result");
                return;
            }
            pending->answer(ScriptMessageChannel::json(value.get()), std::nullopt);
        },
        pending->toUserData());
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
// changes and new windows are refused. WebKit may ask about that load more than once (seen with
// views in on-screen windows), so it stays allowed until it commits.
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
            webkit_policy_decision_use(decision);
            return TRUE;
        }
    }
    LOG_WARNING("Refused a navigation away from the document");
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

void CustomWKWebView::loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    if (event == WEBKIT_LOAD_COMMITTED) {
        auto* self = static_cast<CustomWKWebView*>(data);
        self->navigationAllowed_ = false;
        self->loadCommitted_ = true;
    }
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
    // Keeps annotations still waiting to be handed over, and any load still fetching them.
    startLoad(std::string(documentHtml_), std::string(documentBaseUri_));
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
