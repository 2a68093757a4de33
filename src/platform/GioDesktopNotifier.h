#pragma once

#include "ui/DesktopNotifier.h"

namespace lumeris {

// Sends GNotifications through the process's default GApplication; without a registered one the
// notification is logged as a warning instead.
class GioDesktopNotifier : public DesktopNotifier {
public:
    void send(const DesktopNotification& notification) override;
};

} // namespace lumeris
