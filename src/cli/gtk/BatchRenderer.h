#pragma once

#include "base/RgbaImage.h"
#include "editor/RedactionLeakCheck.h"
#include "platform/TesseractRecognizer.h"
#include "render/gtk/RenderWindow.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lumeris {

struct RenderOptions;
class RendererCopies;
class SettingsStore;

// The three stages of one input of `lumeris render`. Preparing and saving may run on worker
// threads, overlapping the renderer's work on the neighbouring inputs; drawing stays on the main
// thread, in the one renderer every input shares.
class BatchRenderer {
public:
    // What saving needs to know of an input.
    struct Output {
        std::string fileName;
        // The switched-on redaction patterns the composed picture is checked against; none
        // with auto-redaction off.
        std::vector<std::string> redactionPatterns;
        std::string redactColor;
        // What the first reading saw: the check reads again only where the picture differs.
        RedactionLeakCheck::Reading firstReading;
    };

    // One input made ready for the renderer.
    struct Job {
        std::string html;
        int width = 0;
        int height = 0;
        // The copy of the screenshot the document shows, removed once drawn; empty when the
        // document shows the input file itself.
        std::filesystem::path screenshot;
        Output output;
    };

    // The background files the style sheet may point at, resolved once for the whole run.
    struct Backgrounds {
        std::optional<std::string> desktop;
        std::optional<std::string> custom;
    };

    // `pictureStream`: where the picture goes for --output - (standard output); `copies` holds
    // the screenshots' files for the renderer.
    BatchRenderer(const RenderOptions& options, const SettingsStore& settings,
                  Backgrounds backgrounds, std::string baseUri, std::FILE* pictureStream,
                  RendererCopies& copies);

    // Starts the renderer's web process with an empty page and loads the recognition data, so
    // that both overlap preparing the first input. Main thread.
    void warmUp();

    // Read, analyse, recognise and compose; the reason on failure. Any thread, one at a time.
    std::variant<Job, std::string> prepare(const std::filesystem::path& input);

    // Main thread.
    std::variant<RgbaImage, std::string> draw(const Job& job);

    // Checks the picture for text the redaction rules still find (covering it, with a line for
    // the user in `note`), encodes it and writes it atomically (a failed write leaves no partial
    // file); the path written, or "-" for standard output. Any thread, one at a time.
    std::variant<std::filesystem::path, std::string> save(RgbaImage picture, const Output& output,
                                                          std::string* note);

private:
    const RenderOptions& options_;
    const SettingsStore& settings_;
    Backgrounds backgrounds_;
    std::string baseUri_;
    std::FILE* pictureStream_;
    RendererCopies& copies_;
    std::atomic<unsigned> screenshots_{0};
    RenderWindow window_;
    // Until the empty page has loaded: the first input waits for it, so that its "windowload"
    // cannot be taken for the input's.
    bool warming_ = false;
    // Shared by preparing and saving, which run at once: each call takes an engine of its own.
    TesseractRecognizer recognizer_;
};

} // namespace lumeris
