#include "gui/RendererTestSupport.h"

#include "base/Base64.h"
#include "base/Logger.h"
#include "export/ImageEncoder.h"
#include "render/EditorDocument.h"
#include "render/gtk/MainLoopWait.h"
#include "support/ImageFiles.h"

#include <algorithm>

namespace lumeris::testing {

// Far more than a test writes, so nothing is dropped.
LogCapture::LogCapture() : sink_(std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(10000)) {
    spdlog::default_logger()->sinks().push_back(sink_);
    spdlog::set_level(spdlog::level::debug);
}

LogCapture::~LogCapture() {
    std::erase(spdlog::default_logger()->sinks(), sink_);
}

std::vector<std::string> LogCapture::messages() const {
    std::vector<std::string> all;
    for (const auto& message : sink_->last_raw()) {
        all.emplace_back(message.payload.data(), message.payload.size());
    }
    return all;
}

int LogCapture::count(const std::string& text) const {
    return static_cast<int>(std::ranges::count(messages(), text));
}

bool runUntil(const std::function<bool()>& done, double seconds) {
    return MainLoopWait::runUntil(done,
                                  std::chrono::milliseconds(static_cast<long>(seconds * 1000)));
}

std::string editorLikeDocument(const std::string& background, int imageWidth, int imageHeight,
                               std::uint32_t imageRgb, const std::string& extraBody) {
    RgbaImage image(imageWidth, imageHeight);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = i % 4 == 3 ? 0xFF : std::uint8_t(imageRgb >> (16 - i % 4 * 8));
    }
    const std::string style =
        "html, body { margin: 0; padding: 0; background: transparent; overflow: hidden; }\n"
        ".background { width: 100vw; height: 100vh; display: flex; align-items: center;\n"
        "  justify-content: center; background: " +
        background +
        "; }\n"
        ".image img { display: block; width: " +
        std::to_string(imageWidth) + "px; height: " + std::to_string(imageHeight) + "px; }";
    std::string html = EditorDocument::html(style, "", Base64::encode(ImageEncoder::pngData(image)),
                                            {}, {}, imageWidth, imageHeight);
    return html.insert(html.rfind("</body>"), extraBody);
}

std::string baseUri() {
    return RenderWindow::viewerBaseUri().value_or("");
}

std::optional<std::string> loadDocument(RenderWindow& window, const std::string& html) {
    std::optional<std::optional<std::string>> error;
    window.load(html, baseUri(), [&](const std::optional<std::string>& e) { error = e; });
    if (!runUntil([&] { return error.has_value(); })) {
        return "the document did not load in time";
    }
    return *error;
}

std::optional<std::string> evaluate(CustomWKWebView& view, const std::string& script) {
    std::optional<std::optional<std::string>> value;
    view.evaluate(script, [&](const std::optional<std::string>& v, auto) { value = v; });
    runUntil([&] { return value.has_value(); });
    return value.value_or(std::nullopt);
}

bool cancel(CustomWKWebView& view) {
    std::optional<bool> consumed;
    view.handleCancelOperation([&](bool value) { consumed = value; });
    runUntil([&] { return consumed.has_value(); });
    return consumed.value_or(false);
}

std::uint32_t pixel(const RgbaImage& image, int x, int y) {
    const std::uint8_t* p = image.at(x, y);
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

ShotResult screenshot(CustomWKWebView& view, bool saveCache) {
    ShotResult result;
    view.getScreenshot(saveCache, [&result](CustomWKWebView::Image image, auto error) {
        result = {std::move(image), std::move(error), true};
    });
    runUntil([&] { return result.answered; });
    return result;
}

void expectSnapshotsIgnoreZoom(CustomWKWebView& view, const RgbaImage& reference) {
    for (double zoom : {0.5, 2.0}) {
        SCOPED_TRACE(zoom);
        view.setZoom(zoom);
        runUntil([] { return false; }, 0.2);
        auto shot = screenshot(view, false);
        ASSERT_TRUE(shot.image) << shot.error.value_or("");
        EXPECT_EQ(sizeOf(*shot.image), sizeOf(reference));
        EXPECT_TRUE(shot.image->pixels == reference.pixels);
        EXPECT_EQ(webkit_web_view_get_zoom_level(view.webView()), zoom);
    }
}

} // namespace lumeris::testing
