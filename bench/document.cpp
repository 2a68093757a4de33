// The texts rebuilt on every refresh: the style sheet (every slider movement), the restyle
// script that carries it, and the whole document around a 2880 x 1800 screenshot (every load
// and redaction change).
#include "base/Base64.h"
#include "export/ImageEncoder.h"
#include "render/BackgroundPictures.h"
#include "render/EditorDocument.h"
#include "render/ShadowPicture.h"

#include <benchmark/benchmark.h>
#include <iostream>
#include <sstream>

using namespace lumeris;

namespace {

// Canvas sizing writes diagnostic lines to stdout on every style sheet; keep them out of the
// report.
struct QuietStdout {
    std::ostringstream sink;
    std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
    ~QuietStdout() { std::cout.rdbuf(saved); }
};

// Base64-alphabet text standing in for encoded pictures: the documents only copy it.
std::string base64Text(std::size_t size) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text(size, 'A');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = alphabet[(i * 2654435761u >> 7) % 64];
    }
    return text;
}

// The shipped pictures, encoded once as the program does; the benchmark measures the rebuild.
BackgroundPictures& pictures() {
    return BackgroundPictures::shared();
}

StyleSheetInputs inputs(const std::string& background) {
    StyleSheetInputs in;
    in.borderRadius = 12;
    in.padding = 64;
    in.inset = 20;
    in.shadow = 33;
    in.watermarkText = "Lumeris";
    in.backgroundID = background;
    in.ratio = "16:9";
    in.insetEnabled = true;
    in.borderColor = "#FFFFFF";
    in.imageWidth = 1440;
    in.imageHeight = 900;
    return in;
}

void styleSheet(benchmark::State& state, const std::string& background) {
    QuietStdout quiet;
    const StyleSheetInputs in = inputs(background);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = EditorDocument::styleSheet(in, pictures());
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK_CAPTURE(styleSheet, gradient, std::string("violet"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(styleSheet, picture, std::string("love"))->Unit(benchmark::kMicrosecond);

void restyleScript(benchmark::State& state) {
    QuietStdout quiet;
    const std::string style = EditorDocument::styleSheet(inputs("love"), pictures());
    for (auto _ : state) {
        std::string script = EditorDocument::restyleScript(style, "Lumeris");
        benchmark::DoNotOptimize(script);
    }
}
BENCHMARK(restyleScript)->Unit(benchmark::kMicrosecond);

// A 2880 x 1800 screenshot: Base64 of a typical 2.6 MB PNG, and of the 15.5 MB that
// incompressible RGB pixels take (the upper bound).
void document(benchmark::State& state) {
    QuietStdout quiet;
    const std::string style = EditorDocument::styleSheet(inputs("violet"), pictures());
    const std::string image = base64Text(static_cast<std::size_t>(state.range(0)));
    const std::vector<Rect> redacted = {{100, 200, 300, 20}, {100, 400, 250, 20}};
    std::vector<Rect> text;
    for (int i = 0; i < 60; ++i) {
        text.push_back({40, 30.0 * i, 600, 18});
    }
    for (auto _ : state) {
        std::string html = EditorDocument::html(style, "Lumeris", image, redacted, text, 1440, 900);
        benchmark::DoNotOptimize(html);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(document)->Arg(3'500'000)->Arg(20'736'000)->Unit(benchmark::kMillisecond);

// The pre-blurred shadow picture (made once per strength, radius and scale, then cached):
// shadow, radius, scale.
void shadowPicture(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ShadowPicture::render(static_cast<int>(state.range(0)),
                                                       static_cast<int>(state.range(1)),
                                                       static_cast<int>(state.range(2))));
    }
}
BENCHMARK(shadowPicture)
    ->Args({25, 10, 1})
    ->Args({25, 10, 2})
    ->Args({100, 30, 2})
    ->Unit(benchmark::kMillisecond);

// The screenshot as the renderer gets it: Base64 of the interlaced PNG, or a quick plain PNG.
void screenshotEncoding(benchmark::State& state) {
    RgbaImage image(1440, 900);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            std::uint8_t* p = image.at(x, y);
            const bool ink = (x / 7 + y / 13) % 5 == 0 && y % 13 < 9;
            p[0] = p[1] = p[2] = ink ? 40 : 246, p[3] = 255;
        }
    }
    for (auto _ : state) {
        if (state.range(0) == 0) {
            benchmark::DoNotOptimize(Base64::encode(ImageEncoder::pngData(image)));
        } else {
            benchmark::DoNotOptimize(ImageEncoder::quickPngData(image));
        }
    }
}
BENCHMARK(screenshotEncoding)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
