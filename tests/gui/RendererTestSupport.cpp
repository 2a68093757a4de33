#include "gui/RendererTestSupport.h"

#include "base/Base64.h"
#include "base/Logger.h"
#include "export/ImageEncoder.h"
#include "render/gtk/MainLoopWait.h"

#include <algorithm>

namespace lumeris::testing {

// Far more than a test writes, so nothing is dropped.
LogCapture::LogCapture() : sink_(std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(10000)) {
    spdlog::default_logger()->sinks().push_back(sink_);
    spdlog::set_level(spdlog::level::debug);
}

LogCapture::~LogCapture() {
    auto& sinks = spdlog::default_logger()->sinks();
    sinks.erase(std::remove(sinks.begin(), sinks.end(), sink_), sinks.end());
}

std::vector<std::string> LogCapture::messages() const {
    std::vector<std::string> all;
    for (const auto& message : sink_->last_raw()) {
        all.emplace_back(message.payload.data(), message.payload.size());
    }
    return all;
}

int LogCapture::count(const std::string& text) const {
    auto all = messages();
    return static_cast<int>(std::count(all.begin(), all.end(), text));
}

bool runUntil(const std::function<bool()>& done, double seconds) {
    return MainLoopWait::runUntil(done,
                                  std::chrono::milliseconds(static_cast<long>(seconds * 1000)));
}

// The markup the editor writes, with $-named holes.
const char* const EDITOR_DOCUMENT = R"(<html><head><style id="injected-style">
html, body { margin: 0; padding: 0; background: transparent; overflow: hidden; }
.background { width: 100vw; height: 100vh; display: flex; align-items: center;
  justify-content: center; background: $BACKGROUND; }
.image { position: relative; } .image img { display: block; width: $WIDTHpx; height: $HEIGHTpx; }
.rects { position: absolute; inset: 0; } .text-rects { fill: #000000; }
</style><meta name="viewport" content="width=device-width, initial-scale=1" />
<link rel="stylesheet" href="draw.css"></head><body>
<div id="target" class="background"><div class="wrapper"><div class="image">
<img draggable="false" src="data:image/png;base64,$PNG" /></div>
<div id="watermark" class="watermark"></div></div></div><div id="draw-canvas"></div>
<script src="text.js"></script><script src="arrow.js"></script><script src="redact.js"></script>
<script src="shape.js"></script><script src="draw.js"></script>$EXTRA</body></html>)";

std::string editorLikeDocument(const std::string& background, int imageWidth, int imageHeight,
                               std::uint32_t imageRgb, const std::string& extraBody) {
    RgbaImage image(imageWidth, imageHeight);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] =
            i % 4 == 3 ? 0xFF : static_cast<std::uint8_t>(imageRgb >> (16 - i % 4 * 8));
    }
    std::string html = EDITOR_DOCUMENT;
    for (const auto& [hole, value] : std::vector<std::pair<std::string, std::string>>{
             {"$BACKGROUND", background},
             {"$WIDTH", std::to_string(imageWidth)},
             {"$HEIGHT", std::to_string(imageHeight)},
             {"$PNG", Base64::encode(ImageEncoder::pngData(image))},
             {"$EXTRA", extraBody}}) {
        html.replace(html.find(hole), hole.size(), value);
    }
    return html;
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
    view.getScreenshot(saveCache, [&result](CustomWKWebView::Image image, auto error) {
        result = {std::move(image), std::move(error), true};
    });
    runUntil([&] { return result.answered; });
    return result;
}

} // namespace lumeris::testing
