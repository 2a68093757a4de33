#include "cli/Interruption.h"

#include <csignal>

namespace lumeris {

namespace {

volatile std::sig_atomic_t received = 0;

struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};

// Async-signal-safe: stores the number and hands the next signal to the default action.
void onSignal(int number) {
    received = number;
    std::signal(number, SIG_DFL);
}

} // namespace

Interruption::Interruption() {
    received = 0;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Blocking reads and waits resume; the batch looks at the flag between its steps.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
}

Interruption::~Interruption() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
}

int Interruption::signal() {
    return received;
}

} // namespace lumeris
