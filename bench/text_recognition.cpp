// Recognition time on dense screenshots, and the share of planted sensitive strings found.
#include "ScreenshotPainter.h"
#include "editor/RedactionRules.h"
#include "editor/TextDetection.h"
#include "platform/TesseractRecognizer.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

using namespace lumeris;

namespace {

TesseractRecognizer& recognizer() {
    static TesseractRecognizer shared;
    return shared;
}

const char* const WORDS[] = {"build",  "server", "request", "deploy", "status", "window",
                             "config", "update", "result",  "module", "cache",  "thread"};

// A screen full of log-like lines, `pointWidth` × `pointHeight` points.
std::vector<std::string> denseLines(int pointWidth, int pointHeight, double pointSize) {
    std::vector<std::string> lines;
    const int count = static_cast<int>((pointHeight - 40) / (1.8 * pointSize * 96 / 72));
    const int wordsPerLine = static_cast<int>(pointWidth / (pointSize * 4.2));
    unsigned seed = 7;
    for (int i = 0; i < count; ++i) {
        std::string line;
        for (int w = 0; w < wordsPerLine; ++w) {
            seed = seed * 1103515245 + 12345;
            line += std::string(w ? " " : "") + WORDS[(seed >> 16) % 12];
        }
        lines.push_back(line);
    }
    return lines;
}

void recognise(benchmark::State& state, double scale) {
    const Screenshot shot =
        Screenshot::paint(denseLines(1440, 900, 11), {"DejaVu Sans", 11, false, scale}, 1440, 900);
    for (auto _ : state) {
        benchmark::DoNotOptimize(recognizer().recognize(shot.image()));
    }
}

void BM_Recognise1440x900(benchmark::State& state) {
    recognise(state, 1);
}
void BM_Recognise2880x1800(benchmark::State& state) {
    recognise(state, 2);
}
BENCHMARK(BM_Recognise1440x900)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Recognise2880x1800)->Unit(benchmark::kMillisecond)->Iterations(3);

struct Planted {
    std::size_t line;
    std::string text;
    const char* pattern;
};

// 24 screenshots in 6 styles, each with an address, a card number, an IP address and a key among
// ordinary lines; counters give the share of each kind found (a box centred on it).
void BM_PlantedFound(benchmark::State& state) {
    const std::vector<ScreenshotStyle> styles{
        {"DejaVu Sans", 10, false, 1},    {"DejaVu Sans", 10, true, 2},
        {"DejaVu Sans Mono", 9, true, 1}, {"DejaVu Sans Mono", 11, false, 2},
        {"DejaVu Serif", 12, false, 1},   {"DejaVu Sans Condensed", 13, true, 1}};
    const char* users[] = {"anna.berg", "li_wei", "j.smith-jones", "carlos99"};
    const char* domains[] = {"example.com", "mail.example.org", "corp.example.net", "example.io"};
    double found[4] = {0, 0, 0, 0};
    int planted = 0;
    for (auto _ : state) {
        found[0] = found[1] = found[2] = found[3] = 0;
        planted = 0;
        for (std::size_t s = 0; s < styles.size(); ++s) {
            for (int v = 0; v < 4; ++v) {
                const std::string email = std::string(users[v]) + "@" + domains[(v + s) % 4];
                const std::string card = std::to_string(4000 + 111 * v) + " " +
                                         std::to_string(1000 + 37 * s) + " 5678 " +
                                         std::to_string(9000 + v);
                const std::string ip = "10." + std::to_string(s) + "." + std::to_string(v) + ".42";
                const std::string key = "sk" + std::to_string(v) + "Zx9QwErTy7UiOpAsDf" +
                                        std::to_string(s) + "GhJkLzXcVbNm4q8R2t";
                const std::vector<Planted> items{{1, email, RedactionRules::EMAILS.pattern},
                                                 {2, card, RedactionRules::CREDIT_CARDS.pattern},
                                                 {3, ip, RedactionRules::IP_ADDRESSES.pattern},
                                                 {4, key, RedactionRules::API_KEYS.pattern}};
                const std::vector<std::string> lines{
                    "Account overview and recent activity", "Contact " + email + " for access",
                    "Card on file " + card + " valid",      "Connected from " + ip + " today",
                    "API key " + key + " (rotate monthly)", "Last sign-in three days ago"};
                const Screenshot shot = Screenshot::paint(lines, styles[s], 760, 240);
                const auto outcome = recognizer().recognize(shot.image());
                for (std::size_t k = 0; k < items.size(); ++k) {
                    const Rect drawn = shot.boxOf(items[k].line, items[k].text);
                    const auto rects =
                        TextDetection::rectsForPattern(items[k].pattern, outcome.observations,
                                                       shot.image().width, shot.image().height);
                    for (const auto& r : rects) {
                        const double cx = r.x + r.width / 2;
                        const double cy = shot.image().height - (r.y + r.height / 2);
                        if (cx > drawn.x && cx < drawn.maxX() && cy > drawn.y &&
                            cy < drawn.maxY()) {
                            ++found[k];
                            break;
                        }
                    }
                }
                ++planted;
            }
        }
    }
    state.counters["screenshots"] = planted;
    state.counters["emails"] = found[0] / planted;
    state.counters["cards"] = found[1] / planted;
    state.counters["ips"] = found[2] / planted;
    state.counters["keys"] = found[3] / planted;
}
BENCHMARK(BM_PlantedFound)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
