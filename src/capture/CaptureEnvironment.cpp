#include "capture/CaptureEnvironment.h"

#include "base/GLibHandles.h"

#include <glib.h>
#include <sstream>

namespace lumeris {

bool CaptureEnvironment::desktopIs(std::string_view name) const {
    std::istringstream parts(desktop);
    std::string part;
    while (std::getline(parts, part, ':')) {
        if (g_ascii_strcasecmp(part.c_str(), std::string(name).c_str()) == 0) {
            return true;
        }
    }
    return false;
}

CaptureEnvironment CaptureEnvironment::current() {
    const char* session = g_getenv("XDG_SESSION_TYPE");
    const char* desktop = g_getenv("XDG_CURRENT_DESKTOP");
    return CaptureEnvironment{
        .wayland = g_strcmp0(session, "wayland") == 0 ||
                   (session == nullptr && g_getenv("WAYLAND_DISPLAY") != nullptr),
        .desktop = desktop != nullptr ? desktop : "",
        .installed =
            [](std::string_view program) {
                GCharPtr found(g_find_program_in_path(std::string(program).c_str()));
                return found != nullptr;
            },
    };
}

} // namespace lumeris
