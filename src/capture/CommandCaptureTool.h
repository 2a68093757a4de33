#pragma once

#include "capture/CaptureCommands.h"
#include "capture/CaptureTool.h"

#include <functional>
#include <gio/gio.h>
#include <memory>
#include <string>

namespace lumeris {

// A capture tool run as child processes (GSubprocess), never waiting on the main loop: the
// selector first when the tool has one, then the capture. A program that cannot start makes the
// tool unavailable; a capture that ends without writing the file was cancelled (exit statuses
// say too little across tools to tell a refusal from Escape).
class CommandCaptureTool : public CaptureTool,
                           public std::enable_shared_from_this<CommandCaptureTool> {
public:
    using Invocations =
        std::function<CaptureCommands::Invocation(bool onlyWindow, const std::filesystem::path&)>;

    // A tool of the table, or a program of the user's own for any other name.
    static std::shared_ptr<CommandCaptureTool> forBackend(const std::string& backend);

    explicit CommandCaptureTool(Invocations invocations);
    void capture(bool onlyWindow, const std::filesystem::path& output, Done done) override;

private:
    struct Pending;
    static void selected(GObject* source, GAsyncResult* result, gpointer data);
    static void exited(GObject* source, GAsyncResult* result, gpointer data);
    static bool spawn(const std::vector<std::string>& arguments, bool readOutput,
                      GAsyncReadyCallback callback, Pending* pending);

    Invocations invocations_;
};

} // namespace lumeris
