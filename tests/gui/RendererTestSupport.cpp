#include "gui/RendererTestSupport.h"

#include "base/Logger.h"
#include "render/gtk/MainLoopWait.h"

#include <algorithm>
#include <chrono>
#include <gdk-pixbuf/gdk-pixbuf.h>

namespace lumeris::testing {

class LogCapture::Sink : public spdlog::sinks::base_sink<std::mutex> {
public:
    std::vector<std::string> copy() {
        std::lock_guard lock(mutex_);
        return messages_;
    }

protected:
    void sink_it_(const spdlog::details::log_msg& msg) override {
        messages_.emplace_back(msg.payload.data(), msg.payload.size());
    }
    void flush_() override {}

private:
    std::vector<std::string> messages_;
};

LogCapture::LogCapture() : sink_(std::make_shared<Sink>()) {
    spdlog::default_logger()->sinks().push_back(sink_);
    spdlog::set_level(spdlog::level::debug);
}

LogCapture::~LogCapture() {
    auto& sinks = spdlog::default_logger()->sinks();
    sinks.erase(std::remove(sinks.begin(), sinks.end(), sink_), sinks.end());
}

std::vector<std::string> LogCapture::messages() const {
    return sink_->copy();
}

bool LogCapture::contains(const std::string& text) const {
    return count(text) > 0;
}

int LogCapture::count(const std::string& text) const {
    auto all = messages();
    return static_cast<int>(std::count(all.begin(), all.end(), text));
}

bool runUntil(const std::function<bool()>& done, double seconds) {
    return MainLoopWait::runUntil(done,
                                  std::chrono::milliseconds(static_cast<long>(seconds * 1000)));
}

namespace {

std::string pngBase64(int width, int height, std::uint32_t rgb) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
    gdk_pixbuf_fill(pixbuf, (rgb << 8) | 0xFF);
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
    g_object_unref(pixbuf);
    gchar* encoded = g_base64_encode(reinterpret_cast<const guchar*>(buffer), size);
    std::string text(encoded);
    g_free(encoded);
    g_free(buffer);
    return text;
}

} // namespace

std::string editorLikeDocument(const std::string& background, int imageWidth, int imageHeight,
                               std::uint32_t imageRgb, const std::string& extraBody) {
    std::string style =
        "html, body { margin: 0; padding: 0; background: transparent; overflow: hidden; }\n"
        "  .background { width: 100vw; height: 100vh; display: flex; align-items: center;"
        " justify-content: center; background: " +
        background +
        "; }\n"
        "  .image { position: relative; }\n"
        "  .image img { display: block; width: " +
        std::to_string(imageWidth) + "px; height: " + std::to_string(imageHeight) +
        "px; }\n"
        "  .rects { position: absolute; inset: 0; }\n"
        "  .text-rects { fill: #000000; }\n";
    return "  <html>\n  <head>\n  <style id=\"injected-style\">\n  " + style +
           "  </style>\n"
           "  <meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n"
           "  <link rel=\"stylesheet\" href=\"draw.css\">\n  </head>\n  \n  <body>\n"
           "  <div id=\"target\" class=\"background\">\n    <div class=\"wrapper\">\n"
           "      <div class=\"image\">\n"
           "        <img draggable=\"false\" src=\"data:image/png;base64," +
           pngBase64(imageWidth, imageHeight, imageRgb) +
           "\" />\n        \n      </div>\n"
           "      <div id=\"watermark\" class=\"watermark\">\n        \n      </div>\n"
           "    </div>\n  </div>\n  \n  <div id=\"draw-canvas\">\n  </div>\n\n"
           "  <script src=\"text.js\"></script>\n  <script src=\"arrow.js\"></script>\n"
           "  <script src=\"redact.js\"></script>\n  <script src=\"shape.js\"></script>\n"
           "  <script src=\"draw.js\"></script>\n\n" +
           extraBody + "\n  </body>";
}

std::string baseUri() {
    return RenderWindow::viewerBaseUri().value_or("");
}

std::uint32_t pixel(const RgbaImage& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           p[3];
}

ShotResult screenshot(CustomWKWebView& view, bool saveCache) {
    ShotResult result;
    view.getScreenshot(saveCache,
                       [&result](CustomWKWebView::Image image, std::optional<std::string> error) {
                           result.image = std::move(image);
                           result.error = std::move(error);
                           result.answered = true;
                       });
    runUntil([&] { return result.answered; });
    return result;
}

} // namespace lumeris::testing
