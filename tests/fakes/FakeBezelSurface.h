#pragma once

#include "ui/BezelSurface.h"

#include <vector>

namespace lumeris {

// Records fades and closes; the test finishes a fade by running its completion.
class FakeBezelSurface : public BezelSurface {
public:
    struct Fade {
        double alpha;
        double seconds;
        std::function<void()> completion;
    };

    void fadeTo(double alpha, double seconds, std::function<void()> completion) override {
        fades.push_back({alpha, seconds, std::move(completion)});
    }
    void close() override { ++closed; }

    void finishLastFade() {
        if (auto completion = fades.back().completion) {
            completion();
        }
    }

    std::vector<Fade> fades;
    int closed = 0;
};

} // namespace lumeris
