#pragma once

#include <functional>

namespace lumeris {

// Waits for a capture tool: `found` runs once one is available, at once when there is one,
// otherwise after the user installed one (meanwhile the probe shows what to install).
class CaptureBackendProbe {
public:
    virtual ~CaptureBackendProbe() = default;
    virtual void waitForBackend(std::function<void()> found) = 0;
};

} // namespace lumeris
