#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumeris {

// Finds the picture file the desktop shows as its wallpaper: GNOME, Cinnamon and MATE keep it
// in GSettings, KDE Plasma and Xfce in their own configuration files.
class WallpaperLocator {
public:
    // The configured wallpaper of the running desktop, or nothing when it is unknown or is not
    // a file that exists.
    static std::optional<std::filesystem::path> configuredWallpaper();

    // From the text of plasma-org.kde.plasma.desktop-appletsrc: the first "Image=" entry of an
    // [org.kde.image][General] group.
    static std::optional<std::string> fromKdeConfig(std::string_view text);
    // From the text of xfce4-desktop.xml: the first "last-image" property's value.
    static std::optional<std::string> fromXfceConfig(std::string_view text);
    // A "file://" address or a plain absolute path to a path.
    static std::optional<std::filesystem::path> pathFromUri(const std::string& uri);
};

} // namespace lumeris
