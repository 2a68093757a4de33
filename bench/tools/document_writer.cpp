// Writes the document `lumeris render` would load for a screenshot, so other engines can draw the
// very same HTML in comparisons. Usage: document_writer INPUT OUTPUT.html; prints "WIDTH HEIGHT" of
// the canvas. The look of bench/render-compare.sh: defaults with the custom gradient background.
#include "base/Logger.h"
#include "editor/ImageLoadPipeline.h"
#include "render/EditorDocument.h"
#include "settings/SettingsStore.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace lumeris;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT OUTPUT.html\n", argv[0]);
        return 2;
    }
    SettingsStore settings("/nonexistent/settings.json", SettingsStore::Persistence::InMemory);
    settings.registerDefaultSettings();
    settings.set("settings.background-id", std::string("custom"));
    settings.set("settings.bg-color.option", std::string("gradient"));
    spdlog::set_level(spdlog::level::off);
    std::string error;
    std::ostringstream diagnostics;
    std::streambuf* saved = std::cout.rdbuf(diagnostics.rdbuf());
    auto prepared =
        ImageLoadPipeline::load(argv[1], settings, std::chrono::system_clock::now(), &error);
    if (!prepared) {
        std::cout.rdbuf(saved);
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const ImageSize canvas = ImageLoadPipeline::canvas(*prepared);
    const std::string style = EditorDocument::styleSheet(
        ImageLoadPipeline::styleInputs(*prepared, settings, std::nullopt, std::nullopt));
    std::ofstream(argv[2]) << ImageLoadPipeline::document(*prepared, style, {}, {});
    std::cout.rdbuf(saved);
    std::printf("%ld %ld\n", std::lround(canvas.bgWidth), std::lround(canvas.bgHeight));
    return 0;
}
