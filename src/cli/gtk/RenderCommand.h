#pragma once

#include <string>
#include <vector>

namespace lumeris {

// `lumeris render`: screenshots beautified headless with the stored look, one renderer reused for
// every input.
class RenderCommand {
public:
    static constexpr int EXIT_ALL_RENDERED = 0;
    static constexpr int EXIT_SOME_FAILED = 1;
    static constexpr int EXIT_USAGE = 2;
    // Plus the signal's number, as shells report a command a signal ended.
    static constexpr int EXIT_INTERRUPTED = 128;

    // The arguments after "render"; returns the exit status.
    static int run(const std::vector<std::string>& arguments);
};

} // namespace lumeris
