#pragma once

namespace lumeris {

// What the owner of a bezel may ask of it.
class BezelDelegate {
public:
    virtual ~BezelDelegate() = default;
    // Starts the fade-out, as the time-to-live expiry does. Later requests do nothing.
    virtual void requestHide() = 0;
};

} // namespace lumeris
