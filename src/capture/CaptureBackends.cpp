#include "capture/CaptureBackends.h"

#include "capture/CaptureCommands.h"

#include <algorithm>
#include <span>

namespace lumeris {

namespace {

// On Wayland only tools that speak its protocols work; on X11 the light selectors come first
// and the portal goes first only when a backend answers it.
constexpr std::string_view WAYLAND_TOOLS[] = {"spectacle", "grim"};
constexpr std::string_view X11_TOOLS[] = {"maim", "spectacle", "gnome-screenshot", "scrot"};

} // namespace

bool CaptureBackends::commandToolInstalled(const CaptureEnvironment& environment,
                                           std::string_view name) {
    const auto* tool = CaptureCommands::find(name);
    return tool != nullptr && environment.installed(tool->executable) &&
           (tool->selector.empty() || environment.installed(tool->selector));
}

std::vector<std::string> CaptureBackends::order(const CaptureEnvironment& environment,
                                                const std::string& captureCommand) {
    std::vector<std::string> order;
    if (!captureCommand.empty()) {
        order.push_back(captureCommand);
    }
    const auto add = [&order](std::string_view name) {
        if (std::find(order.begin(), order.end(), name) == order.end()) {
            order.emplace_back(name);
        }
    };
    add(PORTAL);
    for (std::string_view name : environment.wayland
                                     ? std::span<const std::string_view>(WAYLAND_TOOLS)
                                     : std::span<const std::string_view>(X11_TOOLS)) {
        if (commandToolInstalled(environment, name)) {
            add(name);
        }
    }
    return order;
}

bool CaptureBackends::available(const CaptureEnvironment& environment,
                                const std::string& captureCommand, bool portalPresent) {
    if (portalPresent) {
        return true;
    }
    if (!captureCommand.empty() && captureCommand != PORTAL &&
        (CaptureCommands::find(captureCommand) != nullptr
             ? commandToolInstalled(environment, captureCommand)
             : environment.installed(captureCommand))) {
        return true;
    }
    // Beside the portal, which is not there.
    return order(environment, "").size() > 1;
}

std::vector<std::string> CaptureBackends::suggestedPackages(const CaptureEnvironment& environment) {
    if (environment.desktopIs("KDE")) {
        return environment.wayland ? std::vector<std::string>{"xdg-desktop-portal-kde"}
                                   : std::vector<std::string>{"kde-spectacle"};
    }
    if (environment.desktopIs("GNOME")) {
        return environment.wayland
                   ? std::vector<std::string>{"xdg-desktop-portal", "xdg-desktop-portal-gnome"}
                   : std::vector<std::string>{"gnome-screenshot"};
    }
    return environment.wayland ? std::vector<std::string>{"grim", "slurp"}
                               : std::vector<std::string>{"maim"};
}

} // namespace lumeris
