#pragma once

#include <functional>
#include <string>

namespace lumeris {

// The few diagnostic lines the core prints besides the log (canvas sizing, recognition and
// wrapping steps). They go to standard output unless a sink is installed: a command whose
// standard output carries data (paths, a picture) sends them elsewhere.
class Diagnostics {
public:
    using Sink = std::function<void(const std::string& line)>;

    // Thread-safe; `line` carries no newline.
    static void print(const std::string& line);

    // Replaces the sink for the process; an empty one restores standard output. Returns the
    // sink that was installed before.
    static Sink setSink(Sink sink);
};

} // namespace lumeris
