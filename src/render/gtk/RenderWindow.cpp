#include "render/gtk/RenderWindow.h"

#include "base/Logger.h"
#include "base/ResourceLocator.h"

namespace lumeris {

RenderWindow::RenderWindow(int width, int height)
    : view_(CustomWKWebView::create()), width_(width), height_(height) {
    window_ = gtk_offscreen_window_new();
    g_object_ref_sink(window_);
    gtk_container_add(GTK_CONTAINER(window_), view_->widget());
    setCanvasSize(width, height);
    gtk_widget_show_all(window_);
}

RenderWindow::~RenderWindow() {
    view_.reset();
    gtk_widget_destroy(window_);
    g_object_unref(window_);
}

void RenderWindow::setCanvasSize(int width, int height) {
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    gtk_widget_set_size_request(view_->widget(), width_, height_);
    gtk_window_resize(GTK_WINDOW(window_), width_, height_);
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
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    std::optional<RgbaImage> result;
    std::string failure;
    load(html, baseUri, [&](std::optional<std::string> loadError) {
        if (loadError) {
            failure = *loadError;
            g_main_loop_quit(loop);
            return;
        }
        snapshot([&](CustomWKWebView::Image image, std::optional<std::string> shotError) {
            if (image) {
                result = *image;
            } else {
                failure = shotError.value_or("no snapshot");
            }
            g_main_loop_quit(loop);
        });
    });
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
    if (!result && error != nullptr) {
        *error = failure;
    }
    return result;
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
    gchar* uri = g_filename_to_uri(viewer->c_str(), nullptr, nullptr);
    if (uri == nullptr) {
        return std::nullopt;
    }
    std::string text(uri);
    g_free(uri);
    return text;
}

} // namespace lumeris
