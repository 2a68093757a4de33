// Redaction as a user meets it: generated screenshots (three fonts, three sizes, light and dark,
// scale 1 and 2) with five planted items of the four kinds among ordinary lines, composed by
// `lumeris render` with every rule on, and the written pictures checked. Counters: the share of
// items fully covered (no glyph pixel of theirs left outside a box) and the share of which text
// recognition reads any four consecutive characters back from the output.
#include "ScreenshotPainter.h"
#include "TemporaryFolder.h"
#include "export/ImageReader.h"
#include "platform/TesseractRecognizer.h"
#include "support/ImageFiles.h"
#include "support/RunLumeris.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cctype>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <iostream>

using namespace lumeris;

namespace {

struct Item {
    std::size_t line;
    std::string text;
};

// Lower case, without spaces: how the read-back text is compared.
std::string squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

bool readable(const std::string& item, const std::string& readBack) {
    const std::string needle = squeezed(item);
    for (std::size_t i = 0; i + 4 <= needle.size(); ++i) {
        if (readBack.find(needle.substr(i, 4)) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A screenshot saved at its density, so that scale-2 shots are read as high-density captures.
void save(const Screenshot& shot, const std::string& path) {
    const RgbaImage& image = shot.image();
    GdkPixbuf* pixbuf =
        gdk_pixbuf_new_from_data(image.pixels.data(), GDK_COLORSPACE_RGB, TRUE, 8, image.width,
                                 image.height, image.width * 4, nullptr, nullptr);
    const std::string dpi = std::to_string(static_cast<int>(72 * shot.scale()));
    gdk_pixbuf_save(pixbuf, path.c_str(), "png", nullptr, "x-dpi", dpi.c_str(), "y-dpi",
                    dpi.c_str(), nullptr);
    g_object_unref(pixbuf);
}

bool isRedactionColour(const std::uint8_t* p) {
    return p[0] > 200 && p[1] < 60 && p[2] > 200;
}

void BM_RedactionHolds(benchmark::State& state) {
    const char* fonts[] = {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"};
    const double pixelSizes[] = {11, 13, 16};
    const char* users[] = {"anna.berg", "li_wei", "j.smith-jones", "carlos99", "mo.tanaka"};
    const char* domains[] = {"mailhost.org", "corp-mail.net", "inbox.io", "post.dev"};
    int items = 0;
    int covered = 0;
    int leaked = 0;
    int screenshots = 0;
    TesseractRecognizer recognizer;
    for (auto _ : state) {
        TemporaryFolder home;
        int n = 0;
        for (const char* font : fonts) {
            for (double px : pixelSizes) {
                for (bool dark : {false, true}) {
                    for (double scale : {1.0, 2.0}) {
                        ++n;
                        const std::string email = std::string(users[n % 5]) + "@" + domains[n % 4];
                        const std::string card =
                            "4" + std::to_string(111 + n) + " " + std::to_string(2000 + 7 * n) +
                            " " + std::to_string(3100 + 13 * n) + " " + std::to_string(5500 + n);
                        const std::string ip =
                            "10." + std::to_string(n) + ".7." + std::to_string(200 + n);
                        const std::string ipv6 = "fe80::" + std::to_string(1000 + n) + ":9ab";
                        const std::string key = "sk" + std::to_string(n) + "Zx9QwErTy7UiOpAsDf" +
                                                std::to_string(n) + "GhJkLzXcVbNm4q8R2tYu";
                        const std::vector<Item> planted{
                            {1, email}, {2, card}, {3, ip}, {4, ipv6}, {5, key}};
                        const std::vector<std::string> lines{"Account overview and recent activity",
                                                             "Contact " + email + " for access",
                                                             "Card on file " + card + " valid",
                                                             "Connected from " + ip + " today",
                                                             "Gateway " + ipv6 + " online",
                                                             "Token " + key + " rotate monthly",
                                                             "Last sign-in three days ago"};
                        const Screenshot shot =
                            Screenshot::paint(lines, {font, px * 72 / 96, dark, scale}, 900, 260);
                        const auto input = home / ("in" + std::to_string(n) + ".png");
                        const auto output = home / ("out" + std::to_string(n) + ".png");
                        save(shot, input.string());
                        std::vector<std::string> arguments{"render",  input.string(),
                                                           "-o",      output.string(),
                                                           "--scale", scale > 1 ? "2" : "1"};
                        for (const char* setting :
                             {"padding=0", "inset=0", "shadow=0", "border-radius=0", "tilt-x=15",
                              "tilt-y=15", "show-watermark=false", "inset-balance=false",
                              "background-id=transparent", "redact-color=#FF00FF",
                              "auto-redact=true", "auto-redact.emails=true",
                              "auto-redact.credit-cards=true", "auto-redact.ip-addresses=true",
                              "auto-redact.api-keys=true"}) {
                            arguments.insert(arguments.end(),
                                             {"--set", std::string("settings.") + setting});
                        }
                        const LumerisRun run = runLumeris(arguments, home.path());
                        auto out = ImageReader::read(output);
                        if (run.status != 0 || !out || out->image.width != shot.image().width) {
                            state.SkipWithError(("render failed: " + run.err).c_str());
                            return;
                        }
                        std::string readBack;
                        for (const auto& line : recognizer.recognize(out->image).observations) {
                            if (line.topCandidate) {
                                readBack += squeezed(line.topCandidate->string()) + "\n";
                            }
                        }
                        ++screenshots;
                        const int background = dark ? 31 : 247;
                        for (const Item& item : planted) {
                            // Pixels, top-left origin; 2 more on each side for overhangs.
                            const Rect drawn = shot.boxOf(item.line, item.text);
                            const int x0 = std::max(0, static_cast<int>(drawn.x) - 2);
                            const int x1 =
                                std::min(shot.image().width, static_cast<int>(drawn.maxX()) + 2);
                            const int y0 = std::max(0, static_cast<int>(drawn.y));
                            const int y1 =
                                std::min(shot.image().height, static_cast<int>(drawn.maxY()) + 1);
                            bool whole = true;
                            for (int y = y0; y < y1 && whole; ++y) {
                                for (int x = x0; x < x1 && whole; ++x) {
                                    const bool ink =
                                        std::abs(shot.image().at(x, y)[0] - background) > 48;
                                    whole = !ink || isRedactionColour(out->image.at(x, y));
                                }
                            }
                            ++items;
                            covered += whole ? 1 : 0;
                            if (readable(item.text, readBack)) {
                                ++leaked;
                                std::cerr << "readable: " << item.text << " (" << font << " " << px
                                          << " px, " << (dark ? "dark" : "light") << ", scale "
                                          << scale << ")\n";
                            } else if (!whole) {
                                std::cerr << "not fully covered: " << item.text << " (" << font
                                          << " " << px << " px, " << (dark ? "dark" : "light")
                                          << ", scale " << scale << ")\n";
                            }
                        }
                    }
                }
            }
        }
    }
    state.counters["screenshots"] = screenshots;
    state.counters["items"] = items;
    state.counters["fully_covered"] = static_cast<double>(covered) / std::max(1, items);
    state.counters["readable"] = static_cast<double>(leaked) / std::max(1, items);
}
BENCHMARK(BM_RedactionHolds)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
