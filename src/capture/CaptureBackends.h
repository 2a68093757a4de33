#pragma once

#include "capture/CaptureEnvironment.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumeris {

// Which capture tools to try, in which order, and what to install when there is none.
// Display-free, so the tray's start-up can probe without a window.
class CaptureBackends {
public:
    // The desktop portal's Screenshot request; the other backends are named as in
    // CaptureCommands, and anything else is a program of the user's own.
    static constexpr std::string_view PORTAL = "portal";

    // The value of "settings.capture-command" first when set, then the desktop's own tools that
    // are installed. The portal always stays in the order: whether a desktop backend answers it
    // shows only when it is asked.
    static std::vector<std::string> order(const CaptureEnvironment& environment,
                                          const std::string& captureCommand);

    // Whether a capture can run, without side effects: `portalPresent` tells whether the session
    // bus has (or can start) the portal.
    static bool available(const CaptureEnvironment& environment, const std::string& captureCommand,
                          bool portalPresent);

    // The Debian packages that give the running desktop a capture tool.
    static std::vector<std::string> suggestedPackages(const CaptureEnvironment& environment);

private:
    static bool commandToolInstalled(const CaptureEnvironment& environment, std::string_view name);
};

} // namespace lumeris
