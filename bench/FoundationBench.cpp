// Canvas sizing and settings reads: both run on every slider movement of the editor.
#include "analysis/ImageSize.h"
#include "settings/SettingsStore.h"

#include <benchmark/benchmark.h>
#include <glib.h>
#include <iostream>
#include <sstream>

namespace {

// Canvas sizing prints its adjustment lines; keep them out of the report.
struct QuietStdout {
    std::ostringstream sink;
    std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
    ~QuietStdout() { std::cout.rdbuf(saved); }
};

void BM_ImageSize(benchmark::State& state, const char* ratio) {
    QuietStdout quiet;
    for (auto _ : state) {
        lumeris::ImageSize size(20, 64, ratio, "Lumeris", 1440, 900);
        benchmark::DoNotOptimize(size.bgWidth);
        quiet.sink.str({});
    }
}
BENCHMARK_CAPTURE(BM_ImageSize, auto, "auto");
BENCHMARK_CAPTURE(BM_ImageSize, ratio16x9, "16:9");
BENCHMARK_CAPTURE(BM_ImageSize, exact1200x675, "1200x675");

// The reads of one re-read of the editor's values, from a store holding every default.
void BM_SettingsReads(benchmark::State& state) {
    gchar* folder = g_dir_make_tmp("lumeris-bench-XXXXXX", nullptr);
    {
        lumeris::SettingsStore settings(std::filesystem::path(folder) / "settings.json",
                                        lumeris::SettingsStore::Persistence::InMemory);
        settings.registerDefaultSettings();
        for (auto _ : state) {
            double sum = 0;
            for (const char* key :
                 {"settings.padding", "settings.inset", "settings.tilt-x", "settings.tilt-y",
                  "settings.border-radius", "settings.shadow"}) {
                sum += settings.doubleValue(key, 0);
            }
            benchmark::DoNotOptimize(sum);
            benchmark::DoNotOptimize(settings.string("settings.watermark-text", ""));
            benchmark::DoNotOptimize(settings.string("settings.background-id", ""));
            benchmark::DoNotOptimize(settings.boolValue("settings.auto-redact", false));
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    g_free(folder);
}
BENCHMARK(BM_SettingsReads);

} // namespace
