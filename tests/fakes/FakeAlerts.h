#pragma once

#include "ui/Alerts.h"

#include <vector>

namespace lumeris {

// Keeps alerts open until the test answers them.
class FakeAlerts : public Alerts {
public:
    struct Shown {
        AlertRequest request;
        Answer answer;
    };

    void show(const AlertRequest& request, Answer answer) override {
        shown.push_back({request, std::move(answer)});
    }
    void answerLast(int buttonIndex) { shown.back().answer(buttonIndex); }

    std::vector<Shown> shown;
};

} // namespace lumeris
