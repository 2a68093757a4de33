// Time from load_html to "windowload", from a snapshot request to the image of a loaded page, and
// of both for a new document, for documents holding a 1440 × 900 and a 2880 × 1800 screenshot. Run
// under a display: xvfb-run bench_renderer.
#include "base/GLibHandles.h"
#include "base/Logger.h"
#include "editor/ImageLoadPipeline.h"
#include "export/ImageEncoder.h"
#include "render/EditorDocument.h"
#include "render/gtk/RenderWindow.h"
#include "settings/SettingsStore.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtk/gtk.h>

using namespace lumeris;
namespace fs = std::filesystem;

namespace {

// The document `lumeris render` loads for a synthetic screenshot with the default look (the
// screenshot as a file beside it, the shadow as a pre-blurred picture), and its canvas size.
struct Page {
    std::string html;
    int width = 0;
    int height = 0;
};

Page pageFor(const benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) { // a gradient, so the PNG is not trivially small
            std::uint8_t* p = image.at(x, y);
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = static_cast<std::uint8_t>(x ^ y);
            p[3] = 255;
        }
    }
    static const fs::path folder = fs::temp_directory_path() / "lumeris-bench-renderer";
    fs::create_directories(folder);
    const fs::path file = folder / ("screenshot-" + std::to_string(width) + ".png");
    const auto png = ImageEncoder::pngData(image);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    SettingsStore settings(folder / "settings.json", SettingsStore::Persistence::InMemory);
    settings.registerDefaultSettings();
    auto prepared =
        ImageLoadPipeline::load(file, settings, std::chrono::system_clock::now(), nullptr, false);
    if (!prepared) {
        return {};
    }
    const ImageSize canvas = ImageLoadPipeline::canvas(*prepared);
    StyleSheetInputs style = ImageLoadPipeline::styleInputs(*prepared, settings, {}, {});
    style.shadowPictureScale = 1;
    GCharPtr uri(g_filename_to_uri(file.c_str(), nullptr, nullptr));
    prepared->imageUrl = uri.get();
    return {ImageLoadPipeline::document(*prepared, EditorDocument::styleSheet(style), {}, {}),
            static_cast<int>(std::lround(canvas.bgWidth)),
            static_cast<int>(std::lround(canvas.bgHeight))};
}

void runUntil(const bool& done) {
    while (!done) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

void loadToWindowload(benchmark::State& state) {
    const Page page = pageFor(state);
    const std::string base = RenderWindow::viewerBaseUri().value_or("");
    RenderWindow window(page.width, page.height);
    for (auto _ : state) {
        bool done = false;
        window.load(page.html, base, [&](auto) { done = true; });
        runUntil(done);
    }
}

void requestToSnapshot(benchmark::State& state) {
    const Page page = pageFor(state);
    RenderWindow window(page.width, page.height);
    bool loaded = false;
    window.load(page.html, RenderWindow::viewerBaseUri().value_or(""),
                [&](auto) { loaded = true; });
    runUntil(loaded);
    for (auto _ : state) {
        bool done = false;
        window.snapshot([&](auto, auto) { done = true; });
        runUntil(done);
    }
}

// What `lumeris render` does for each input: a new document loaded, then its only paint.
void loadAndSnapshot(benchmark::State& state) {
    const Page page = pageFor(state);
    const std::string base = RenderWindow::viewerBaseUri().value_or("");
    RenderWindow window(page.width, page.height);
    int count = 0;
    for (auto _ : state) {
        // Another document each time, as each input is.
        if (!window.renderBlocking(page.html + "<!-- " + std::to_string(++count) + " -->", base)) {
            state.SkipWithError("no snapshot");
            return;
        }
    }
}

} // namespace

BENCHMARK(loadToWindowload)->Args({1440, 900})->Args({2880, 1800})->Unit(benchmark::kMillisecond);
BENCHMARK(requestToSnapshot)->Args({1440, 900})->Args({2880, 1800})->Unit(benchmark::kMillisecond);
BENCHMARK(loadAndSnapshot)->Args({1440, 900})->Args({2880, 1800})->Unit(benchmark::kMillisecond);

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
