#pragma once

#include "capture/CaptureTool.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

// Runs one capture at a time through the backends in their order: a backend that is unavailable
// hands over to the next; a cancelled selection or a written file ends the capture. Main thread.
class ScreenCapture : public std::enable_shared_from_this<ScreenCapture> {
public:
    using Backends = std::function<std::vector<std::string>()>;
    // None for a backend that cannot be built here (the portal without a session bus).
    using ToolFactory = std::function<std::shared_ptr<CaptureTool>(const std::string& backend)>;
    using Captured = std::function<void(std::optional<std::filesystem::path>)>;

    // `noTool` runs when every backend was unavailable (before `captured`).
    ScreenCapture(Backends backends, ToolFactory tools, std::filesystem::path temporaryFolder,
                  std::function<void()> noTool = {});

    // Starts a capture into a fresh "Lumeris-<date>-<UUID>.png" in the temporary folder;
    // `captured` runs later with its path, or with nothing when the user cancelled or no tool
    // could run. False, and nothing happens, while another capture runs.
    bool capturePic(bool onlyWindow, Captured captured);

    bool running() const { return running_; }

private:
    void tryBackend(std::vector<std::string> remaining, bool onlyWindow,
                    std::filesystem::path output, Captured captured);

    Backends backends_;
    ToolFactory tools_;
    std::filesystem::path temporaryFolder_;
    std::function<void()> noTool_;
    std::shared_ptr<CaptureTool> tool_;
    bool running_ = false;
};

} // namespace lumeris
