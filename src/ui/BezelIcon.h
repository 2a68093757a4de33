#pragma once

#include "base/RgbaImage.h"

#include <optional>
#include <string>

namespace lumeris {

// The bezel glyphs shipped in resources/icons/, loaded by name.
class BezelIcon {
public:
    static constexpr const char* CHECK = "check";
    static constexpr const char* COMPRESS = "compress-solid";
    static constexpr const char* NO_IMAGE = "no-image";
    static constexpr const char* PROCESSING = "processing";

    // The icon at its natural size, or nothing (logged) when it is missing or unreadable.
    static std::optional<RgbaImage> named(const std::string& name);
};

} // namespace lumeris
