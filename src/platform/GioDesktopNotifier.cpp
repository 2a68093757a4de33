#include "platform/GioDesktopNotifier.h"

#include "base/GObjectPtr.h"
#include "base/Logger.h"

#include <gio/gio.h>

namespace lumeris {

void GioDesktopNotifier::send(const DesktopNotification& notification) {
    GApplication* application = g_application_get_default();
    if (application == nullptr || !g_application_get_is_registered(application)) {
        LOG_WARNING("No application to notify through: {}: {}", notification.title,
                    notification.body);
        return;
    }
    GObjectPtr<GNotification> message(g_notification_new(notification.title.c_str()));
    if (!notification.body.empty()) {
        g_notification_set_body(message.get(), notification.body.c_str());
    }
    for (const auto& button : notification.buttons) {
        if (button.target.empty()) {
            g_notification_add_button(message.get(), button.label.c_str(), button.action.c_str());
        } else {
            g_notification_add_button_with_target_value(
                message.get(), button.label.c_str(), button.action.c_str(),
                g_variant_new_string(button.target.c_str()));
        }
    }
    g_application_send_notification(
        application, notification.id.empty() ? nullptr : notification.id.c_str(), message.get());
}

} // namespace lumeris
