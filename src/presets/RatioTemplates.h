#pragma once

#include "presets/RatioTemplate.h"

#include <string_view>
#include <vector>

namespace lumeris {

// The built-in social-media formats, by platform, in list order.
class RatioTemplates {
public:
    // Empty for an identifier that names no platform.
    static const std::vector<RatioTemplate>& forPlatform(std::string_view platform);
    // Every template, platform by platform.
    static const std::vector<RatioTemplate>& all();
};

} // namespace lumeris
