#include "capture/CommandCaptureTool.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"
#include "base/MainContext.h"

#include <gio/gio.h>

namespace lumeris {

namespace fs = std::filesystem;

struct CommandCaptureTool::Pending {
    std::weak_ptr<CommandCaptureTool> tool;
    std::vector<std::string> capture;
    fs::path output;
    Done done;
    GObjectPtr<GSubprocess> process;

    // Ends the attempt from the main loop, unless the tool is gone.
    static void finish(Pending* pending, CaptureOutcome outcome) {
        std::unique_ptr<Pending> owned(pending);
        if (!owned->tool.expired()) {
            owned->done(outcome);
        }
    }
};

namespace {

std::string trimmed(const char* text) {
    std::string value = text != nullptr ? text : "";
    const auto first = value.find_first_not_of(" \t\r\n");
    const auto last = value.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
}

} // namespace

std::shared_ptr<CommandCaptureTool> CommandCaptureTool::forBackend(const std::string& backend) {
    if (CaptureCommands::find(backend) != nullptr) {
        return std::make_shared<CommandCaptureTool>(
            [backend](bool onlyWindow, const fs::path& output) {
                return *CaptureCommands::invocation(backend, onlyWindow, output);
            });
    }
    return std::make_shared<CommandCaptureTool>([backend](bool onlyWindow, const fs::path& output) {
        return CaptureCommands::custom(backend, onlyWindow, output);
    });
}

CommandCaptureTool::CommandCaptureTool(Invocations invocations)
    : invocations_(std::move(invocations)) {}

void CommandCaptureTool::capture(bool onlyWindow, const fs::path& output, Done done) {
    auto invocation = invocations_(onlyWindow, output);
    auto* pending =
        new Pending{weak_from_this(), std::move(invocation.capture), output, std::move(done), {}};
    const bool started =
        invocation.selector.empty()
            ? spawn(pending->capture, false, &CommandCaptureTool::exited, pending)
            : spawn(invocation.selector, true, &CommandCaptureTool::selected, pending);
    if (!started) {
        runLater([pending] { Pending::finish(pending, CaptureOutcome::Unavailable); });
    }
}

bool CommandCaptureTool::spawn(const std::vector<std::string>& arguments, bool readOutput,
                               GAsyncReadyCallback callback, Pending* pending) {
    std::vector<const gchar*> argv;
    argv.reserve(arguments.size() + 1);
    for (const auto& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    GErrorPtr error;
    pending->process = GObjectPtr<GSubprocess>(g_subprocess_newv(
        argv.data(), readOutput ? G_SUBPROCESS_FLAGS_STDOUT_PIPE : G_SUBPROCESS_FLAGS_NONE,
        GErrorOut(error)));
    if (!pending->process) {
        LOG_DEBUG("cannot run {}: {}", arguments.front(), error ? error->message : "");
        return false;
    }
    LOG_DEBUG("running {}", arguments.front());
    if (readOutput) {
        g_subprocess_communicate_utf8_async(pending->process.get(), nullptr, nullptr, callback,
                                            pending);
    } else {
        g_subprocess_wait_async(pending->process.get(), nullptr, callback, pending);
    }
    return true;
}

// Main thread: the selector has ended.
void CommandCaptureTool::selected(GObject* source, GAsyncResult* result, gpointer data) {
    auto* pending = static_cast<Pending*>(data);
    GCharPtr selection;
    gchar* out = nullptr;
    const bool read =
        g_subprocess_communicate_utf8_finish(G_SUBPROCESS(source), result, &out, nullptr, nullptr);
    selection.reset(out);
    const std::string chosen = trimmed(selection.get());
    if (!read || !g_subprocess_get_successful(G_SUBPROCESS(source)) || chosen.empty()) {
        Pending::finish(pending, CaptureOutcome::Cancelled);
        return;
    }
    for (auto& argument : pending->capture) {
        if (argument == CaptureCommands::SELECTION) {
            argument = chosen;
        }
    }
    if (!spawn(pending->capture, false, &CommandCaptureTool::exited, pending)) {
        Pending::finish(pending, CaptureOutcome::Unavailable);
    }
}

// Main thread: the capture program has ended.
void CommandCaptureTool::exited(GObject* source, GAsyncResult* result, gpointer data) {
    auto* pending = static_cast<Pending*>(data);
    g_subprocess_wait_finish(G_SUBPROCESS(source), result, nullptr);
    LOG_DEBUG("task exit");
    std::error_code error;
    Pending::finish(pending, fs::exists(pending->output, error) ? CaptureOutcome::Captured
                                                                : CaptureOutcome::Cancelled);
}

} // namespace lumeris
