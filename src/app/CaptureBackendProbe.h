#pragma once

namespace lumeris {

// Whether a capture tool could run now. Asked at start-up and then every few seconds, so it must
// be quick and have no side effects.
class CaptureBackendProbe {
public:
    virtual ~CaptureBackendProbe() = default;
    virtual bool available() = 0;
};

} // namespace lumeris
