#include "platform/DesktopServices.h"

#include "platform/CanberraSoundPlayer.h"
#include "platform/GioDesktopNotifier.h"
#include "platform/MessageDialogAlerts.h"
#include "platform/NativeFileChooser.h"
#include "platform/SystemClipboard.h"
#include "ui/SettingsSoundPlayer.h"

namespace lumeris {

DesktopServices DesktopServices::create(const SettingsStore& settings,
                                        std::function<Gtk::Window*()> parent) {
    DesktopServices services;
    services.clipboard = std::make_shared<SystemClipboard>();
    services.sounds =
        std::make_shared<SettingsSoundPlayer>(std::make_shared<CanberraSoundPlayer>(), settings);
    services.notifier = std::make_shared<GioDesktopNotifier>();
    services.alerts = std::make_shared<MessageDialogAlerts>(parent);
    services.fileChooser = std::make_shared<NativeFileChooser>(std::move(parent));
    return services;
}

} // namespace lumeris
