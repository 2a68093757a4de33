#include "capture/ScreenCapture.h"

#include "base/Logger.h"
#include "base/MainContext.h"
#include "capture/FileNaming.h"

namespace lumeris {

namespace fs = std::filesystem;

ScreenCapture::ScreenCapture(Backends backends, ToolFactory tools, fs::path temporaryFolder,
                             std::function<void()> noTool)
    : backends_(std::move(backends)), tools_(std::move(tools)),
      temporaryFolder_(std::move(temporaryFolder)), noTool_(std::move(noTool)) {}

bool ScreenCapture::capturePic(bool onlyWindow, Captured captured) {
    if (running_) {
        LOG_DEBUG("a capture is running; this one is ignored");
        return false;
    }
    LOG_DEBUG("start capture");
    const fs::path output = temporaryFolder_ / FileNaming::generateFileName(
                                                   std::nullopt, FileNaming::uuidString(), "png");
    LOG_DEBUG("path: {}", output.string());
    running_ = true;
    tryBackend(backends_(), onlyWindow, output, std::move(captured));
    return true;
}

void ScreenCapture::tryBackend(std::vector<std::string> remaining, bool onlyWindow, fs::path output,
                               Captured captured) {
    if (remaining.empty()) {
        LOG_ERROR("no capture tool could run; install one for this desktop");
        std::weak_ptr<ScreenCapture> weak = weak_from_this();
        runLater([weak, captured = std::move(captured)] {
            if (auto self = weak.lock()) {
                self->running_ = false;
                self->tool_.reset();
                if (self->noTool_) {
                    self->noTool_();
                }
                captured(std::nullopt);
            }
        });
        return;
    }
    const std::string backend = remaining.front();
    remaining.erase(remaining.begin());
    tool_ = tools_(backend);
    if (!tool_) {
        tryBackend(std::move(remaining), onlyWindow, output, std::move(captured));
        return;
    }
    LOG_DEBUG("capture with {}", backend);
    std::weak_ptr<ScreenCapture> weak = weak_from_this();
    tool_->capture(
        onlyWindow, output,
        [weak, remaining = std::move(remaining), onlyWindow, output, captured = std::move(captured),
         backend](CaptureOutcome outcome) mutable {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            if (outcome == CaptureOutcome::Unavailable) {
                LOG_DEBUG("{} is unavailable", backend);
                self->tryBackend(std::move(remaining), onlyWindow, output, std::move(captured));
                return;
            }
            self->running_ = false;
            std::error_code error;
            const bool written = outcome == CaptureOutcome::Captured && fs::exists(output, error);
            captured(written ? std::optional<fs::path>(output) : std::nullopt);
        });
}

} // namespace lumeris
