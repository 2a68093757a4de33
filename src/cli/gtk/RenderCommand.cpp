#include "cli/gtk/RenderCommand.h"

#include "base/AtomicFile.h"
#include "base/Diagnostics.h"
#include "base/Logger.h"
#include "capture/CustomBackgroundCache.h"
#include "capture/DesktopPicture.h"
#include "capture/RendererCopies.h"
#include "capture/WallpaperDesktopPicture.h"
#include "cli/Interruption.h"
#include "cli/RenderOptions.h"
#include "cli/RenderProgress.h"
#include "cli/gtk/BatchRenderer.h"
#include "export/ImageReader.h"
#include "platform/GdkScreenLocator.h"
#include "platform/PrivateXServer.h"
#include "render/gtk/MainLoopWait.h"
#include "presets/RatioTemplates.h"
#include "render/gtk/RenderWindow.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <gtk/gtk.h>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <sys/ioctl.h>
#include <unistd.h>
#include <variant>

namespace lumeris {

namespace {

namespace fs = std::filesystem;

void printError(const std::string& message) {
    std::fprintf(stderr, "lumeris render: %s\n", message.c_str());
}

// The core's diagnostic lines would land among the written paths (or in the picture stream);
// they still reach the log through the pipeline's own records.
class QuietDiagnostics {
public:
    QuietDiagnostics() : saved_(Diagnostics::setSink([](const std::string&) {})) {}
    ~QuietDiagnostics() { Diagnostics::setSink(std::move(saved_)); }
    QuietDiagnostics(const QuietDiagnostics&) = delete;
    QuietDiagnostics& operator=(const QuietDiagnostics&) = delete;

private:
    Diagnostics::Sink saved_;
};

// KEY  TYPE  VALUE, one setting a line, for --list-settings.
void listSettings(const SettingsStore& settings) {
    for (std::string_view key : SettingKeys::keys()) {
        const auto value = settings.value(std::string(key));
        std::printf("%-46s %-8s %s\n", std::string(key).c_str(),
                    std::string(SettingKeys::typeName(*SettingKeys::typeOf(key))).c_str(),
                    value ? SettingKeys::format(*value).c_str() : "(not set)");
    }
}

// PLATFORM/NAME  WxH (or W:H), one format a line, for --list-sizes.
void listSizes() {
    for (const auto& entry : RatioTemplates::all()) {
        std::printf("%s/%s\t%s\n", entry.platform.c_str(), entry.name.c_str(),
                    RenderOptions::sizeSetting(entry).c_str());
    }
}

// With --output -, standard output carries the picture alone: the stream keeps the original
// descriptor and everything else written to standard output goes to standard error instead.
class PictureStream {
public:
    explicit PictureStream(bool wanted) {
        if (!wanted) {
            return;
        }
        std::fflush(stdout);
        const int picture = dup(STDOUT_FILENO);
        if (picture >= 0 && dup2(STDERR_FILENO, STDOUT_FILENO) >= 0) {
            stream_ = fdopen(picture, "wb");
        }
        if (stream_ == nullptr && picture >= 0) {
            close(picture);
        }
    }
    ~PictureStream() {
        if (stream_ != nullptr) {
            std::fclose(stream_);
        }
    }
    PictureStream(const PictureStream&) = delete;
    PictureStream& operator=(const PictureStream&) = delete;

    std::FILE* get() const { return stream_; }

private:
    std::FILE* stream_ = nullptr;
};

std::optional<BatchRenderer::Backgrounds>
resolveBackgrounds(const RenderOptions& options, SettingsStore& settings, RendererCopies& copies) {
    BatchRenderer::Backgrounds references;
    const std::string id = settings.string(SettingKeys::BACKGROUND_ID, "");
    if (id == "desktop") {
        GdkScreenLocator screens;
        WallpaperDesktopPicture source(screens);
        LoadedImage picture = DesktopPicture::desktopPictureWithFallback(settings, source);
        if (auto placed = copies.write(picture, "desktop")) {
            references.desktop = placed->string();
        }
    }
    if (id == "custom" && settings.string(SettingKeys::BG_COLOR_OPTION, "") == "file") {
        // A file named on the command line is used as it is; otherwise the editor's cached copy
        // of the chosen file, as the editor would show it.
        bool named = false;
        for (const auto& [key, value] : options.overrides) {
            named = named || key == SettingKeys::CUSTOM_BACKGROUND_FILE_PATH.name;
        }
        std::optional<fs::path> source;
        if (named) {
            source = settings.string(SettingKeys::CUSTOM_BACKGROUND_FILE_PATH, "");
        } else {
            source = CustomBackgroundCache::getCachedCustomBackgroundPath(settings);
        }
        std::error_code ignored;
        if (!source || !fs::exists(*source, ignored)) {
            printError("the custom background picture is missing" +
                       (source && !source->empty() ? ": " + source->string() : std::string()));
            return std::nullopt;
        }
        // Read before it is copied: a file that is no picture would give a silently empty
        // background, and a copy of it would sit where the renderer may read it.
        std::string error;
        if (!ImageReader::read(*source, &error)) {
            printError("the custom background picture cannot be used: " + source->string() + ": " +
                       error);
            return std::nullopt;
        }
        if (auto copied = copies.copy(*source, "custom")) {
            references.custom = copied->string() + "?cacheID=custom-0";
        }
    }
    return references;
}

// The display the renderer draws on: a private Xvfb when there is one (its output does not depend
// on the desktop's font and scale settings), else the session's X display.
bool prepareDisplay(int scale, std::unique_ptr<PrivateXServer>& server) {
    const char* session = std::getenv("DISPLAY");
    std::string display = session != nullptr ? session : "";
    if (PrivateXServer::available()) {
        std::string error;
        server = PrivateXServer::start(&error);
        if (server) {
            display = server->display();
        } else {
            LOG_WARNING("could not start Xvfb: {}", error);
            if (display.empty()) {
                printError("could not start Xvfb: " + error);
                return false;
            }
        }
    }
    if (display.empty()) {
        printError("no display to draw on; install Xvfb (apt install xvfb) or run under xvfb-run");
        return false;
    }
    setenv("DISPLAY", display.c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);
    setenv("GDK_SCALE", std::to_string(scale).c_str(), 1);
    unsetenv("GDK_DPI_SCALE");
    if (!gtk_init_check(nullptr, nullptr)) {
        printError("cannot open the display " + display);
        return false;
    }
    return true;
}

// Several inputs show their progress on standard error: a bar on a terminal, lines elsewhere.
std::optional<RenderProgress> progressFor(const RenderOptions& options) {
    if (options.inputs.size() < 2 || options.quiet) {
        return std::nullopt;
    }
    if (isatty(STDERR_FILENO) == 0) {
        return RenderProgress(options.inputs.size(), RenderProgress::Style::Lines);
    }
    winsize size{};
    const int columns =
        ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
    return RenderProgress(options.inputs.size(), RenderProgress::Style::Bar, columns);
}

// Runs `work` on a worker thread; an exception becomes the failure text.
template <typename Result, typename Work>
std::future<std::variant<Result, std::string>> inBackground(Work work) {
    return std::async(std::launch::async, [work = std::move(work)]() mutable {
        try {
            return work();
        } catch (const std::exception& error) {
            return std::variant<Result, std::string>(std::string(error.what()));
        }
    });
}

} // namespace

int RenderCommand::run(const std::vector<std::string>& arguments) {
    auto parsed = RenderOptions::parse(arguments);
    if (auto* usageError = std::get_if<std::string>(&parsed)) {
        printError(*usageError);
        std::fputs("Try 'lumeris render --help'.\n", stderr);
        return EXIT_USAGE;
    }
    const RenderOptions& options = std::get<RenderOptions>(parsed);
    if (options.help) {
        std::fputs(RenderOptions::USAGE, stdout);
        return EXIT_ALL_RENDERED;
    }
    if (options.listSizes) {
        listSizes();
        return EXIT_ALL_RENDERED;
    }

    // Messages for the user are printed below; the log keeps the details.
    Logger::setUp(Logger::defaultLogDirectory(), spdlog::level::off);
    // The stored look, with this run's overrides; nothing is written back.
    SettingsStore settings(SettingsStore::defaultFile(), SettingsStore::Persistence::InMemory);
    settings.registerDefaultSettings();
    if (auto overrideError = options.applyLook(settings)) {
        printError(*overrideError);
        return EXIT_USAGE;
    }

    if (options.listSettings) {
        listSettings(settings);
        return EXIT_ALL_RENDERED;
    }

    // From here on a Ctrl+C ends the run through the destructors below.
    Interruption interruption;
    // Temporaries of a run that was killed while writing into the same folder.
    AtomicFile::removeStaleTemporaries(
        options.output ? fs::absolute(*options.output).parent_path()
                       : (options.outputDir ? fs::path(*options.outputDir) : fs::current_path()));

    std::unique_ptr<PrivateXServer> server;
    if (!prepareDisplay(options.scale, server)) {
        return EXIT_SOME_FAILED;
    }
    auto baseUri = RenderWindow::viewerBaseUri();
    if (!baseUri) {
        printError("the resources folder (viewer.html) was not found; set LUMERIS_RESOURCES");
        return EXIT_SOME_FAILED;
    }
    RendererCopies copies("render");
    auto backgrounds = resolveBackgrounds(options, settings, copies);
    if (!backgrounds) {
        return EXIT_SOME_FAILED;
    }

    QuietDiagnostics quiet;
    PictureStream pictureStream(options.output == RenderOptions::STANDARD_STREAM);
    int failures = 0;
    int written = 0;
    std::optional<RenderProgress> progress = progressFor(options);
    auto report = [&](const std::string& input, const std::variant<fs::path, std::string>& result) {
        if (std::holds_alternative<std::string>(result) && Interruption::requested()) {
            // The renderer's processes hear a terminal's Ctrl+C too: not this input's fault.
            return;
        }
        // The bar steps aside for the line and comes back under it.
        std::fputs(progress ? progress->clear().c_str() : "", stderr);
        if (const auto* failure = std::get_if<std::string>(&result)) {
            ++failures;
            printError(input + ": " + *failure);
            LOG_ERROR("render {}: {}", input, *failure);
            return;
        }
        ++written;
        if (!options.quiet && options.output != RenderOptions::STANDARD_STREAM) {
            std::fprintf(stdout, "%s\n", std::get<fs::path>(result).c_str());
            std::fflush(stdout);
        }
        std::fputs(progress ? progress->redraw().c_str() : "", stderr);
    };
    {
        BatchRenderer renderer(options, settings, *backgrounds, *baseUri, pictureStream.get(),
                               copies);
        const auto& inputs = options.inputs;
        auto prepare = [&renderer, &inputs](size_t index) {
            return inBackground<BatchRenderer::Job>(
                [&renderer, input = inputs[index]]() { return renderer.prepare(input); });
        };
        // The next input is prepared, and the previous one saved, while this one is drawn.
        renderer.warmUp();
        auto next = prepare(0);
        std::future<std::variant<fs::path, std::string>> saving;
        std::string savingInput;
        std::string savingNote;
        auto finishSaving = [&]() {
            if (saving.valid()) {
                report(savingInput, saving.get());
                if (!savingNote.empty()) {
                    printError(savingInput + ": " + savingNote);
                    savingNote.clear();
                }
            }
        };
        const auto started = std::chrono::steady_clock::now();
        for (size_t index = 0; index < inputs.size() && !Interruption::requested(); ++index) {
            if (progress) {
                const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - started);
                std::fputs(progress->start(index, inputs[index], elapsed).c_str(), stderr);
            }
            // The main loop runs meanwhile, so the renderer's process starts and answers.
            MainLoopWait::runUntil(
                [&next] {
                    return next.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
                },
                std::chrono::hours(24));
            auto prepared = next.get();
            if (index + 1 < inputs.size()) {
                next = prepare(index + 1);
            }
            std::variant<RgbaImage, std::string> drawn =
                std::holds_alternative<BatchRenderer::Job>(prepared)
                    ? renderer.draw(std::get<BatchRenderer::Job>(prepared))
                    : std::variant<RgbaImage, std::string>(std::get<std::string>(prepared));
            finishSaving();
            if (const auto* failure = std::get_if<std::string>(&drawn)) {
                report(inputs[index], *failure);
                continue;
            }
            savingInput = inputs[index];
            saving = inBackground<fs::path>(
                [&renderer, &savingNote, picture = std::get<RgbaImage>(std::move(drawn)),
                 output = std::get<BatchRenderer::Job>(prepared).output]() mutable {
                    return renderer.save(std::move(picture), output, &savingNote);
                });
        }
        // An input still being prepared is waited for as `next` goes.
        finishSaving();
    }
    std::fputs(progress ? progress->clear().c_str() : "", stderr);
    Logger::flush();
    if (const int signal = Interruption::signal()) {
        printError("interrupted; " + std::to_string(written) + " of " +
                   std::to_string(options.inputs.size()) + " written");
        return EXIT_INTERRUPTED + signal;
    }
    return failures == 0 ? EXIT_ALL_RENDERED : EXIT_SOME_FAILED;
}

} // namespace lumeris
