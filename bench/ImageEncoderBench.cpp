// pngData and jpegData on a 2080 × 1730 composition. bench/compare-imagemagick.sh encodes the
// same pixels with ImageMagick for comparison.

#include "SyntheticImages.h"
#include "export/ImageEncoder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

const lumeris::RgbaImage& composition() {
    static const lumeris::RgbaImage image = [] {
        lumeris::RgbaImage made = bench::composition(2080, 1730);
        if (const char* dump = std::getenv("LUMERIS_BENCH_WRITE_INPUT")) {
            bench::writePam(made, dump);
        }
        return made;
    }();
    return image;
}

void BM_pngData(benchmark::State& state) {
    const auto& image = composition();
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto data = lumeris::ImageEncoder::pngData(image);
        bytes = data.size();
        benchmark::DoNotOptimize(data);
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_pngData)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_jpegData(benchmark::State& state) {
    const auto& image = composition();
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto data = lumeris::ImageEncoder::jpegData(image);
        bytes = data.size();
        benchmark::DoNotOptimize(data);
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_jpegData)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
