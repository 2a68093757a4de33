#pragma once

#include <string>

namespace lumeris {

// Plays the program's short feedback sounds by name.
class SoundPlayer {
public:
    static constexpr const char* PURR = "Purr";
    static constexpr const char* GLASS = "Glass";
    static constexpr const char* BOTTLE = "Bottle";

    virtual ~SoundPlayer() = default;
    // Returns at once; unknown names play nothing.
    virtual void play(const std::string& name) = 0;
};

} // namespace lumeris
