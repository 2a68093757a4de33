#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace lumeris {

// What decides which capture tools can run: the kind of session, the desktop and the programs
// installed. Tests build one by hand.
struct CaptureEnvironment {
    bool wayland = false;
    // XDG_CURRENT_DESKTOP, such as "GNOME", "ubuntu:GNOME" or "KDE".
    std::string desktop;
    // Whether a program of that name is on PATH (or, with a slash, is executable).
    std::function<bool(std::string_view program)> installed;

    bool desktopIs(std::string_view name) const;

    // This process's session.
    static CaptureEnvironment current();
};

} // namespace lumeris
