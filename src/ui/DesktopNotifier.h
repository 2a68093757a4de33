#pragma once

#include "ui/DesktopNotification.h"

namespace lumeris {

// Sends notifications to the desktop's notification service.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    virtual void send(const DesktopNotification& notification) = 0;
};

} // namespace lumeris
