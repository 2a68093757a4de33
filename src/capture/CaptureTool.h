#pragma once

#include <filesystem>
#include <functional>

namespace lumeris {

// How one attempt of a capture tool ended.
enum class CaptureOutcome {
    Captured,    // a PNG is at the output path
    Cancelled,   // the user ended the selection; nothing was written
    Unavailable, // the tool is missing or refused; the next one may try
};

// One way of letting the user select a region or window and writing it as a PNG. Asynchronous:
// `capture` returns at once and `done` runs later from the main loop, never inside `capture`.
class CaptureTool {
public:
    using Done = std::function<void(CaptureOutcome)>;

    virtual ~CaptureTool() = default;
    // Region or window as the user chooses; window only where the tool can tell them apart.
    virtual void capture(bool onlyWindow, const std::filesystem::path& output, Done done) = 0;
};

} // namespace lumeris
