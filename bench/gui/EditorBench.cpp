// From an image file to the first painted picture of a new editor window, in a process whose
// renderer is already warm (a first window was opened before): the road a capture takes. Run
// under a display: xvfb-run bench_editor.
#include "base/Logger.h"
#include "editor/ImageIntake.h"
#include "editor/gtk/EditorWindow.h"
#include "export/ImageEncoder.h"
#include "platform/MessageDialogAlerts.h"
#include "platform/NativeFileChooser.h"
#include "platform/SystemClipboard.h"
#include "render/gtk/RenderWindow.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtk/gtk.h>
#include <unistd.h>

using namespace lumeris;
namespace fs = std::filesystem;

namespace {

// A light application window with rows of dark "text" bars: compresses like a real screenshot.
fs::path writeScreenshot(const fs::path& folder, int width, int height) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.at(x, y);
            const bool bar = y > 60 && (y / 9) % 3 == 0 && (x * 7 + (y / 27) * 13) % 90 < 70;
            const std::uint8_t grey = y < 48 ? 225 : (bar ? 60 : 250);
            p[0] = p[1] = p[2] = grey;
            p[3] = 255;
        }
    }
    const fs::path file = folder / "screenshot.png";
    const auto png = ImageEncoder::pngData(image);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return file;
}

template <typename Done> void runUntil(const Done& done) {
    while (!done()) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

struct Fixture {
    fs::path folder = fs::temp_directory_path() / ("lumeris-bench-" + std::to_string(getpid()));
    std::unique_ptr<SettingsStore> settings;
    fs::path screenshot;
    // Services no command of the benchmark reaches.
    std::shared_ptr<Alerts> alerts = std::make_shared<MessageDialogAlerts>();
    // As in the application: each window prepares the next one's renderer once it has painted.
    std::shared_ptr<SpareRendererView> spare =
        std::make_shared<SpareRendererView>(RenderWindow::viewerBaseUri().value_or(""));
    std::shared_ptr<Clipboard> clipboard = std::make_shared<SystemClipboard>();
    std::shared_ptr<FileChooser> chooser = std::make_shared<NativeFileChooser>();

    Fixture() {
        fs::create_directories(folder);
        setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        settings = std::make_unique<SettingsStore>(folder / "settings.json");
        settings->registerDefaultSettings();
        settings->set(SettingKeys::BACKGROUND_ID, std::string("cool"));
        screenshot = writeScreenshot(folder, 1440, 900);
    }
    ~Fixture() { fs::remove_all(folder); }

    // Intake, window and document up to "windowload"; recognition never answers.
    // Time spent in the intake, the window's construction and the load call, in ms.
    double intake = 0;
    double window = 0;
    double load = 0;

    std::unique_ptr<EditorWindow> open() {
        using Clock = std::chrono::steady_clock;
        auto ms = [](Clock::duration d) {
            return std::chrono::duration<double, std::milli>(d).count();
        };
        const auto start = Clock::now();
        auto prepared = ImageIntake::activateFromFile(screenshot, *settings, folder);
        const auto intaken = Clock::now();
        auto editor = EditorWindow::create(
            EditorWindow::Dependencies{.settings = *settings,
                                       .alerts = alerts,
                                       .clipboard = clipboard,
                                       .fileChooser = chooser,
                                       .recognize = [](auto, double, auto) {},
                                       .baseUri = RenderWindow::viewerBaseUri().value_or(""),
                                       .rendererFolder = folder / "renderer",
                                       .spareView = spare});
        editor->show();
        const auto built = Clock::now();
        editor->loadImage(std::get<PreparedImage>(std::move(prepared)));
        const auto loaded = Clock::now();
        bool painted = false;
        editor->renderer().whenPageLoaded([&](bool) { painted = true; });
        runUntil([&] { return painted; });
        intake += ms(intaken - start);
        window += ms(built - intaken);
        load += ms(loaded - built);
        return editor;
    }
};

void fileToFirstPaint(benchmark::State& state) {
    Fixture fixture;
    auto first = fixture.open(); // starts the web process
    fixture.intake = fixture.window = fixture.load = 0;
    for (auto _ : state) {
        auto window = fixture.open();
        state.PauseTiming();
        // A person opens the next screenshot seconds later, by when this window has prepared
        // the spare renderer.
        runUntil([&] { return fixture.spare->ready(); });
        window.reset();
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        state.ResumeTiming();
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["intake_ms"] = fixture.intake / runs;
    state.counters["window_ms"] = fixture.window / runs;
    state.counters["load_call_ms"] = fixture.load / runs;
}

} // namespace

BENCHMARK(fileToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "bench_editor skipped: it needs a display (run it under xvfb-run)\n");
        return 0;
    }
    Logger::setUp(std::nullopt);
    spdlog::set_level(spdlog::level::warn);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
