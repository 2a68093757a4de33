// getBorderColor on a 2400 × 1500-pixel screenshot (1200 × 750 points at scale 2) with a
// 60-pixel white band, and on one without a band.

#include "SyntheticImages.h"
#include "analysis/BorderColor.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

void BM_getBorderColor(benchmark::State& state) {
    const int band = int(state.range(0));
    static lumeris::LoadedImage screenshot;
    screenshot = {bench::screenshot(2400, 1500, band), 1200, 750};
    if (const char* dump = std::getenv("LUMERIS_BENCH_WRITE_SCREENSHOT"); dump && band > 0) {
        bench::writePam(screenshot.image, dump);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(lumeris::BorderColor::getBorderColor(screenshot));
    }
}
BENCHMARK(BM_getBorderColor)->Arg(60)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace
