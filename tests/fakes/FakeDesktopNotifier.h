#pragma once

#include "ui/DesktopNotifier.h"

#include <vector>

namespace lumeris {

// Keeps the notifications sent.
class FakeDesktopNotifier : public DesktopNotifier {
public:
    void send(const DesktopNotification& notification) override { sent.push_back(notification); }

    std::vector<DesktopNotification> sent;
};

} // namespace lumeris
