#pragma once

#include "base/GObjectPtr.h"
#include "base/RgbaImage.h"
#include "render/RendererMessage.h"
#include "render/ScreenshotQueue.h"
#include "render/gtk/ScriptMessageChannel.h"
#include "render/gtk/ViewZoom.h"

#include <chrono>
#include <functional>
#include <gtk/gtk.h>
#include <memory>
#include <optional>
#include <string>
#include <webkit2/webkit2.h>

namespace lumeris {

// What the view tells its editor. Every call arrives on the main thread.
class CustomWKWebViewDelegate {
public:
    virtual ~CustomWKWebViewDelegate() = default;
    virtual void onWebViewUserEvents(const std::string& name,
                                     const std::optional<nlohmann::json>& payload) = 0;
    virtual void onWebViewMouseExited() {}
    // Edit the menu in place; return true to show no menu at all.
    virtual bool onWebViewContextMenu(WebKitContextMenu* /*menu*/) { return false; }
    virtual void onWebViewDragEnded(bool /*copied*/) {}
    virtual std::string fileName() const { return {}; }
};

// The renderer view: shows the editor's document and turns it back into pixels. Created through
// `create()` and held by shared_ptr, so that pending work can hold it weakly and end silently
// when it is gone. Every operation and callback runs on the main thread.
class CustomWKWebView : public std::enable_shared_from_this<CustomWKWebView> {
public:
    using Image = std::shared_ptr<const RgbaImage>;
    // Receives the image (or none) and an error text (or none).
    using ScreenshotCallback = std::function<void(Image, std::optional<std::string>)>;
    // Receives the script's value as JSON text (or none) and an error text (or none).
    using ScriptCallback =
        std::function<void(std::optional<std::string>, std::optional<std::string>)>;

    // Bounds on every wait, so that a broken page answers with an error instead of hanging.
    struct Timeouts {
        std::chrono::milliseconds windowLoad{30000};
        std::chrono::milliseconds script{10000};
        std::chrono::milliseconds snapshot{15000};
    };

    static std::shared_ptr<CustomWKWebView> create();
    ~CustomWKWebView();

    GtkWidget* widget() const { return GTK_WIDGET(webView_.get()); }
    WebKitWebView* webView() const { return webView_.get(); }

    void setDelegate(std::weak_ptr<CustomWKWebViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    void setTimeouts(const Timeouts& timeouts);
    const Timeouts& timeouts() const { return timeouts_; }

    // The load step: clears the cache, marks the page not loaded and loads `html` with `baseUri`
    // (a file URI of viewer.html, so the resources beside it resolve).
    void loadDocument(const std::string& html, const std::string& baseUri);

    // Annotations are drawn into the document, so a plain load drops them. This load step is
    // for another document of the same picture (another ratio, redaction boxes switched or
    // recognised): the current annotations are fetched first and handed to the new document,
    // which counts as loaded only once it has them back. They are kept in image pixels, so they
    // stay on the same pixels of the picture.
    void loadDocumentKeepingAnnotations(const std::string& html, const std::string& baseUri);
    // The current document's annotations as JSON, none when it has none to give.
    void annotations(std::function<void(std::optional<std::string> json)> callback);
    // Hands annotations (JSON from `annotations`) to the loaded document, or to the next one to
    // load; snapshots wait until they are in.
    void restoreAnnotations(const std::string& json);

    // Runs `callback(loaded)` once the current document has reported "windowload", or with false
    // after the load time-out. Waits on the screenshot queue, in line with snapshot requests.
    void whenPageLoaded(std::function<void(bool loaded)> callback);

    // The picture is the canvas at the backing scale whatever zoom is shown.
    void getScreenshot(bool saveCache, ScreenshotCallback callback);

    // The composed picture's size in points; the view is that times the zoom.
    void setCanvasSize(int width, int height) { zoom_->setCanvasSize(width, height); }
    void setZoom(double zoom) { zoom_->setZoom(zoom); }
    double zoom() const { return zoom_->zoom(); }

    // Evaluates `script` in the document; without a callback the result is ignored.
    void evaluate(const std::string& script, ScriptCallback callback = {});

    // Restyles the loaded document in place; the cached snapshot no longer matches.
    void restyle(const std::string& script);

    // Escape: `consumed` is true only when an annotation tool took the cancel.
    void handleCancelOperation(std::function<void(bool consumed)> callback);
    // The current text selection, empty when none.
    void selectedText(std::function<void(std::string)> callback);
    // Enters an annotation tool: addArrowActivated, addTextActivated, redactActivated,
    // addShapeActivated.
    void activateCommand(const std::string& flag);
    void resetDragState();

    void clearLastScreenshot() { lastScreenshot_.reset(); }
    const Image& lastScreenshot() const { return lastScreenshot_; }
    bool pageLoaded() const { return queue_.pageLoaded(); }

    // Handles one "events" message.
    void onUserEventsMessage(const UserEvent& event);

private:
    struct Private {};

public:
    explicit CustomWKWebView(Private);

private:
    void configure();
    void startLoad(const std::string& html, const std::string& baseUri);
    void documentLoaded();
    void takeFreshScreenshot(bool saveCache, ScreenshotCallback callback);
    // Holds the view at zoom 1 and the canvas size, then runs `then` once the page has taken
    // that size (or the snapshot time-out passed). The caller releases the hold.
    void atCanvasScale(std::function<void()> then);
    void whenPageIsCanvasSized(std::chrono::steady_clock::time_point deadline,
                               std::function<void()> then);
    void reloadAfterCrash();

    static gboolean decidePolicy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType,
                                 gpointer self);
    static void loadChanged(WebKitWebView*, WebKitLoadEvent, gpointer self);
    static void webProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason,
                                     gpointer self);
    static gboolean contextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*,
                                gpointer self);
    static gboolean scrolled(GtkWidget*, GdkEvent*, gpointer self);
    static gboolean leaveNotify(GtkWidget*, GdkEvent*, gpointer self);

    Image lastScreenshot_;
    std::weak_ptr<CustomWKWebViewDelegate> delegate_;
    ScreenshotQueue queue_;
    Timeouts timeouts_;

    GObjectPtr<WebKitUserContentManager> contentManager_;
    GObjectPtr<WebKitWebView> webView_;
    std::unique_ptr<ViewZoom> zoom_;
    std::unique_ptr<ScriptMessageChannel> loggingChannel_;
    std::unique_ptr<ScriptMessageChannel> eventsChannel_;

    // Kept so the document can be loaded again when the web process dies.
    std::string documentHtml_;
    std::string documentBaseUri_;
    bool navigationAllowed_ = false;
    // A "windowload" before the current load committed came from the document it replaces.
    bool loadCommitted_ = false;
    // Counts loads, so that an answer meant for a replaced load does nothing.
    unsigned loadGeneration_ = 0;

    // Annotations on their way from one document to the next.
    struct AnnotationCarry {
        std::optional<std::string> json; // for the next document to report "windowload"
        bool fetching = false;           // asked of the document being replaced
        bool fetchDiscarded = false;     // a plain load came after the question
        bool loadedWhileFetching = false;
    };
    AnnotationCarry carry_;
    int crashReloads_ = 0;
};

} // namespace lumeris
