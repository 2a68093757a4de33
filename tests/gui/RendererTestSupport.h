#pragma once

#include "render/gtk/CustomWKWebView.h"
#include "render/gtk/RenderWindow.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <spdlog/sinks/ringbuffer_sink.h>
#include <string>
#include <vector>

namespace lumeris::testing {

// Collects the log messages written while it is installed on the default logger.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    std::vector<std::string> messages() const;
    int count(const std::string& text) const;

private:
    std::shared_ptr<spdlog::sinks::ringbuffer_sink_mt> sink_;
};

// Runs the main loop until `done` returns true or `seconds` pass; false on time-out.
bool runUntil(const std::function<bool()>& done, double seconds = 20.0);

// A document of the editor's shape: padding of `background` around a `imageWidth` × `imageHeight`
// PNG of one colour; extra body markup and script may be added.
std::string editorLikeDocument(const std::string& background, int imageWidth, int imageHeight,
                               std::uint32_t imageRgb, const std::string& extraBody = "");

// The base URI of the resources folder's viewer.html.
std::string baseUri();

// Loads `html` into `window` and runs the main loop until it has loaded; the error, if any.
std::optional<std::string> loadDocument(RenderWindow& window, const std::string& html);

// Runs `script` in the page and waits for its result as JSON text (none on error or time-out).
std::optional<std::string> evaluate(CustomWKWebView& view, const std::string& script);

// Asks the page to leave its tool, as Escape does; whether it had one.
bool cancel(CustomWKWebView& view);

// Colour at (x, y) as 0xRRGGBBAA.
std::uint32_t pixel(const RgbaImage& image, int x, int y);

struct ShotResult {
    CustomWKWebView::Image image;
    std::optional<std::string> error;
    bool answered = false;
};
// Takes a screenshot, waiting for the answer.
ShotResult screenshot(CustomWKWebView& view, bool saveCache);

// Output snapshots taken while 50 % and 200 % zoom are shown equal `reference` in size and pixels,
// and the zoom shown comes back after each.
void expectSnapshotsIgnoreZoom(CustomWKWebView& view, const RgbaImage& reference);

} // namespace lumeris::testing
