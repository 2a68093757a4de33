#include "capture/CaptureCommands.h"

#include <algorithm>

namespace lumeris {

namespace {

constexpr auto OUT = CaptureCommands::OUTPUT;
constexpr auto SEL = CaptureCommands::SELECTION;

// Every tool is asked for an interactive selection, without the cursor or window shadows where
// it has such options. A window click in maim (through slop) is a drag within the tolerance, so
// an endless tolerance makes every selection a window. slurp cannot pick windows by itself.
const std::vector<CaptureCommands::Tool> TOOLS = {
    {"spectacle",
     "spectacle",
     "",
     "kde-spectacle",
     {"spectacle", "-b", "-n", "-r", "-o", OUT},
     {"spectacle", "-b", "-n", "-u", "-o", OUT}},
    {"gnome-screenshot",
     "gnome-screenshot",
     "",
     "gnome-screenshot",
     {"gnome-screenshot", "-a", "-f", OUT},
     {"gnome-screenshot", "-w", "--border-effect=none", "-f", OUT}},
    {"maim",
     "maim",
     "",
     "maim",
     {"maim", "-s", "-u", "-f", "png", OUT},
     {"maim", "-s", "-u", "-t", "999999", "-f", "png", OUT}},
    {"grim",
     "grim",
     "slurp",
     "grim slurp",
     {"grim", "-g", SEL, "-t", "png", OUT},
     {"grim", "-g", SEL, "-t", "png", OUT}},
    {"scrot", "scrot", "", "scrot", {"scrot", "-s", "-o", OUT}, {"scrot", "-s", "-o", OUT}},
};

std::vector<std::string> expand(const std::vector<std::string_view>& arguments,
                                const std::filesystem::path& output) {
    std::vector<std::string> expanded;
    expanded.reserve(arguments.size());
    for (std::string_view argument : arguments) {
        expanded.emplace_back(argument == OUT ? std::string_view(output.native()) : argument);
    }
    return expanded;
}

} // namespace

std::span<const CaptureCommands::Tool> CaptureCommands::tools() {
    return TOOLS;
}

const CaptureCommands::Tool* CaptureCommands::find(std::string_view name) {
    auto found = std::find_if(TOOLS.begin(), TOOLS.end(),
                              [name](const Tool& tool) { return tool.name == name; });
    return found == TOOLS.end() ? nullptr : &*found;
}

std::optional<CaptureCommands::Invocation>
CaptureCommands::invocation(std::string_view name, bool onlyWindow,
                            const std::filesystem::path& output) {
    const Tool* tool = find(name);
    if (tool == nullptr) {
        return std::nullopt;
    }
    Invocation invocation{.selector = {},
                          .capture = expand(onlyWindow ? tool->window : tool->region, output)};
    if (!tool->selector.empty()) {
        invocation.selector = {std::string(tool->selector)};
    }
    return invocation;
}

CaptureCommands::Invocation CaptureCommands::custom(const std::string& executable, bool onlyWindow,
                                                    const std::filesystem::path& output) {
    Invocation invocation{.selector = {}, .capture = {executable, "-i", "-o", "-a"}};
    if (onlyWindow) {
        invocation.capture.emplace_back("-w");
    }
    invocation.capture.push_back(output.string());
    return invocation;
}

} // namespace lumeris
