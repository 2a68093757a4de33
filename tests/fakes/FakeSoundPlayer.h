#pragma once

#include "ui/SoundPlayer.h"

#include <vector>

namespace lumeris {

// Notes the sounds played.
class FakeSoundPlayer : public SoundPlayer {
public:
    void play(const std::string& name) override { played.push_back(name); }

    std::vector<std::string> played;
};

} // namespace lumeris
