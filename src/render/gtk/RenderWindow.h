#pragma once

#include "base/GObjectPtr.h"
#include "render/gtk/CustomWKWebView.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lumeris {

// Hosts a renderer view, never shown on screen, at an exact canvas size in points: the editor's
// capture-and-copy path and the headless `lumeris render` command draw through it. A snapshot is
// width × height pixels at scale 1 and twice that at scale 2 (GDK_SCALE).
// Everything is asynchronous on the main loop; `renderOnce` is the blocking form for the command
// line only, never for use inside the running application.
class RenderWindow {
public:
    RenderWindow(int width, int height);
    ~RenderWindow();
    RenderWindow(const RenderWindow&) = delete;
    RenderWindow& operator=(const RenderWindow&) = delete;

    void setCanvasSize(int width, int height);
    // Shows the window, for a view that takes pointer and key input: a hidden page gets none.
    // The page is then painted for display as well.
    void showForInput();
    int width() const { return width_; }
    int height() const { return height_; }

    CustomWKWebView& view() { return *view_; }
    const std::shared_ptr<CustomWKWebView>& sharedView() const { return view_; }

    // Loads `html` with `baseUri` and calls back once it reported "windowload" (error otherwise).
    void load(const std::string& html, const std::string& baseUri,
              std::function<void(std::optional<std::string> error)> done);

    // A fresh snapshot of the whole canvas (not cached).
    void snapshot(CustomWKWebView::ScreenshotCallback done);

    // Command-line helper: load, wait for the paint, snapshot, running the default main loop
    // until the answer is in. Returns none and sets `error` on failure.
    std::optional<RgbaImage> renderBlocking(const std::string& html, const std::string& baseUri,
                                            std::string* error = nullptr);
    // The same in a window of its own.
    static std::optional<RgbaImage> renderOnce(const std::string& html, const std::string& baseUri,
                                               int width, int height, std::string* error = nullptr);

    // The base URI documents load with: the file URI of viewer.html in the resources folder.
    static std::optional<std::string> viewerBaseUri();

private:
    GObjectPtr<GtkWidget> window_;
    std::shared_ptr<CustomWKWebView> view_;
    int width_;
    int height_;
};

} // namespace lumeris
