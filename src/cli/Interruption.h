#pragma once

namespace lumeris {

// SIGINT and SIGTERM while a batch runs. The first asks the batch to stop after the step under
// way, so that it ends through its destructors (private X server stopped, renderer copies and
// temporaries removed); a second one ends the process at once. Handlers are installed for the
// object's lifetime; one object at a time.
class Interruption {
public:
    Interruption();
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    // The signal received, or 0.
    static int signal();
    static bool requested() { return signal() != 0; }
};

} // namespace lumeris
