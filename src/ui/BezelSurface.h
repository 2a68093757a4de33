#pragma once

#include <functional>

namespace lumeris {

// The on-screen side of a bezel, as its delegate drives it.
class BezelSurface {
public:
    virtual ~BezelSurface() = default;
    // Animates the opacity to `alpha`; `completion` runs from the main loop afterwards, never
    // from inside this call.
    virtual void fadeTo(double alpha, double seconds, std::function<void()> completion) = 0;
    // Takes the bezel off the screen and out of the registry that keeps it alive.
    virtual void close() = 0;
};

} // namespace lumeris
