#pragma once

#include "base/LoadedImage.h"
#include "capture/DesktopPictureSource.h"

#include <filesystem>
#include <optional>
#include <string>

namespace lumeris {

class SettingsStore;

// The desktop picture a screenshot is placed on, with a cached copy for when the live one
// cannot be read.
class DesktopPicture {
public:
    static constexpr const char* FALLBACK_DESKTOP_IMAGE = "nice";

    // The archive's cached copy, "Cache/desktop.png".
    static std::filesystem::path desktopCachePath(const SettingsStore& settings);

    static std::optional<LoadedImage> desktopPicture(DesktopPictureSource& source);
    // The live desktop picture (cached as "desktop.png"), else the cached one, else the
    // built-in "nice" picture. Never empty.
    static LoadedImage desktopPictureWithFallback(const SettingsStore& settings,
                                                  DesktopPictureSource& source);
    // A picture shipped in the resources' "images" folder, by name without extension.
    static std::optional<LoadedImage> builtInImage(const std::string& name);
};

} // namespace lumeris
