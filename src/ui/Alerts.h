#pragma once

#include "ui/AlertRequest.h"

#include <functional>

namespace lumeris {

// Shows alerts without blocking: `answer` runs later with the index of the chosen button in
// `request.buttons`. Dismissing the alert without a button answers with the last button (the
// one that cancels) or 0 when there is only one.
class Alerts {
public:
    using Answer = std::function<void(int buttonIndex)>;

    virtual ~Alerts() = default;
    virtual void show(const AlertRequest& request, Answer answer) = 0;

    static int dismissedAnswer(const AlertRequest& request) {
        return request.buttons.empty() ? 0 : static_cast<int>(request.buttons.size()) - 1;
    }
};

} // namespace lumeris
