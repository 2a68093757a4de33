#pragma once

#include <string>

namespace lumeris {

// A named social-media format: an exact canvas size in points for one platform.
struct RatioTemplate {
    struct Size {
        int w = 0;
        int h = 0;
        bool operator==(const Size&) const = default;
    };

    std::string name;
    Size size;
    std::string platform;

    bool operator==(const RatioTemplate&) const = default;
};

} // namespace lumeris
