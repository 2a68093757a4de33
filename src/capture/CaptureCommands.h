#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumeris {

// The command-line capture tools and how each is asked for a selection written to a PNG.
class CaptureCommands {
public:
    // In a tool's arguments: replaced by the output path, and by the selector's output.
    static constexpr std::string_view OUTPUT = "{output}";
    static constexpr std::string_view SELECTION = "{selection}";

    struct Tool {
        std::string_view name;
        // What must be on PATH: the capture program, then the selector when there is one.
        std::string_view executable;
        std::string_view selector;
        // The Debian package that brings both.
        std::string_view package;
        std::vector<std::string_view> region;
        std::vector<std::string_view> window;
    };

    // The programs to run in order: the selector's standard output, trimmed, becomes
    // SELECTION in the capture's arguments; a selector that fails or prints nothing cancels.
    struct Invocation {
        std::vector<std::string> selector;
        std::vector<std::string> capture;
    };

    static std::span<const Tool> tools();
    static const Tool* find(std::string_view name);

    // None for a name that is not in the table.
    static std::optional<Invocation> invocation(std::string_view name, bool onlyWindow,
                                                const std::filesystem::path& output);
    // A program of the user's own, called as "-i", "-o", "-a", ["-w",] output: interactive, no
    // window shadow, no attached windows, window only.
    static Invocation custom(const std::string& executable, bool onlyWindow,
                             const std::filesystem::path& output);
};

} // namespace lumeris
