// Time from load_html to "windowload", and from a snapshot request to the image, for documents
// holding a 1440 × 900 and a 2880 × 1800 screenshot. Run under a display: xvfb-run bench_renderer.
#include "base/Logger.h"
#include "render/gtk/RenderWindow.h"

#include <benchmark/benchmark.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtk/gtk.h>

using namespace lumeris;

namespace {

constexpr int PADDING = 64;

std::string documentFor(int width, int height) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
    // A gradient, so the PNG is not trivially small.
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            guchar* p = pixels + y * stride + x * 4;
            p[0] = static_cast<guchar>(x);
            p[1] = static_cast<guchar>(y);
            p[2] = static_cast<guchar>(x ^ y);
            p[3] = 255;
        }
    }
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
    g_object_unref(pixbuf);
    gchar* encoded = g_base64_encode(reinterpret_cast<guchar*>(buffer), size);
    std::string html = "<html><head><style id=\"injected-style\">html, body { margin: 0; } "
                       ".background { padding: " +
                       std::to_string(PADDING) +
                       "px; background: linear-gradient(#336699, #993366); }"
                       " img { display: block; width: " +
                       std::to_string(width) + "px; height: " + std::to_string(height) +
                       "px; }</style><link rel=\"stylesheet\" href=\"draw.css\"></head><body>"
                       "<div id=\"target\" class=\"background\"><img src=\"data:image/png;base64," +
                       encoded + "\"></div><script src=\"draw.js\"></script></body>";
    g_free(encoded);
    g_free(buffer);
    return html;
}

void runUntil(const bool& done) {
    while (!done) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

void loadToWindowload(benchmark::State& state) {
    int width = static_cast<int>(state.range(0));
    int height = static_cast<int>(state.range(1));
    std::string html = documentFor(width, height);
    std::string base = RenderWindow::viewerBaseUri().value_or("");
    RenderWindow window(width + 2 * PADDING, height + 2 * PADDING);
    for (auto _ : state) {
        bool done = false;
        window.load(html, base, [&](auto) { done = true; });
        runUntil(done);
    }
    state.counters["document_MB"] = static_cast<double>(html.size()) / 1e6;
}

void requestToSnapshot(benchmark::State& state) {
    int width = static_cast<int>(state.range(0));
    int height = static_cast<int>(state.range(1));
    RenderWindow window(width + 2 * PADDING, height + 2 * PADDING);
    bool loaded = false;
    window.load(documentFor(width, height), RenderWindow::viewerBaseUri().value_or(""),
                [&](auto) { loaded = true; });
    runUntil(loaded);
    for (auto _ : state) {
        bool done = false;
        window.snapshot([&](auto, auto) { done = true; });
        runUntil(done);
    }
}

} // namespace

BENCHMARK(loadToWindowload)->Args({1440, 900})->Args({2880, 1800})->Unit(benchmark::kMillisecond);
BENCHMARK(requestToSnapshot)->Args({1440, 900})->Args({2880, 1800})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr,
                     "bench_renderer skipped: it needs a display (run it under xvfb-run)\n");
        return 0;
    }
    Logger::setUp(std::nullopt);
    spdlog::set_level(spdlog::level::warn);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
