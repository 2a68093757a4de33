#include "render/gtk/RenderWindow.h"

#include "base/GLibHandles.h"
#include "base/ResourceLocator.h"
#include "render/gtk/MainLoopWait.h"

namespace lumeris {

RenderWindow::RenderWindow(int width, int height)
    : view_(CustomWKWebView::create()), width_(width), height_(height) {
    window_ = GObjectPtr<GtkWidget>::sinkFloating(gtk_offscreen_window_new());
    gtk_container_add(GTK_CONTAINER(window_.get()), view_->widget());
    // Realised and sized but never shown: a hidden page is not painted for display, so the
    // snapshot is its only paint (its "windowload" waits for its pictures to decode instead).
    gtk_widget_show(view_->widget());
    gtk_widget_realize(window_.get());
    gtk_widget_realize(view_->widget());
    setCanvasSize(width, height);
}

RenderWindow::~RenderWindow() {
    view_.reset();
    gtk_widget_destroy(window_.get());
}

void RenderWindow::setCanvasSize(int width, int height) {
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    view_->setCanvasSize(width_, height_);
    // An unshown window gets no allocation from GTK's layout cycle, so it is handed one here;
    // a load started next lays out at the canvas size.
    GtkRequisition ignored;
    gtk_widget_get_preferred_size(window_.get(), &ignored, nullptr);
    GtkAllocation allocation{0, 0, width_, height_};
    gtk_widget_size_allocate(window_.get(), &allocation);
}

void RenderWindow::showForInput() {
    gtk_widget_show_all(window_.get());
}

void RenderWindow::load(const std::string& html, const std::string& baseUri,
                        std::function<void(std::optional<std::string>)> done) {
    view_->loadDocument(html, baseUri);
    view_->whenPageLoaded([done = std::move(done)](bool loaded) {
        done(loaded ? std::nullopt
                    : std::optional<std::string>("timed out waiting for the document to load"));
    });
}

void RenderWindow::snapshot(CustomWKWebView::ScreenshotCallback done) {
    view_->clearLastScreenshot();
    view_->getScreenshot(false, std::move(done));
}

std::optional<RgbaImage> RenderWindow::renderBlocking(const std::string& html,
                                                      const std::string& baseUri,
                                                      std::string* error) {
    // Shared with the callbacks: should the bound pass first, they may still come later.
    struct Outcome {
        std::optional<RgbaImage> image;
        std::string failure;
        bool done = false;
    };
    auto outcome = std::make_shared<Outcome>();
    load(html, baseUri, [this, outcome](std::optional<std::string> loadError) {
        if (loadError) {
            outcome->failure = *loadError;
            outcome->done = true;
            return;
        }
        snapshot([outcome](const CustomWKWebView::Image& image,
                           const std::optional<std::string>& shotError) {
            if (image) {
                outcome->image = *image;
            } else {
                outcome->failure = shotError.value_or("no snapshot");
            }
            outcome->done = true;
        });
    });
    // The view answers every step within its own time-outs; this bound only guards against a
    // callback that never comes.
    const auto& timeouts = view_->timeouts();
    if (!MainLoopWait::runUntil([&] { return outcome->done; },
                                timeouts.windowLoad + timeouts.script + timeouts.snapshot +
                                    std::chrono::seconds(5))) {
        outcome->failure = "the renderer did not answer";
    }
    if (!outcome->image && error != nullptr) {
        *error = outcome->failure;
    }
    return std::move(outcome->image);
}

std::optional<RgbaImage> RenderWindow::renderOnce(const std::string& html,
                                                  const std::string& baseUri, int width, int height,
                                                  std::string* error) {
    RenderWindow window(width, height);
    return window.renderBlocking(html, baseUri, error);
}

std::optional<std::string> RenderWindow::viewerBaseUri() {
    auto viewer = ResourceLocator::resource("web/viewer.html");
    if (!viewer) {
        return std::nullopt;
    }
    GCharPtr uri(g_filename_to_uri(viewer->c_str(), nullptr, nullptr));
    if (!uri) {
        return std::nullopt;
    }
    return std::string(uri.get());
}

} // namespace lumeris
