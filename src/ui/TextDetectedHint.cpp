#include "ui/TextDetectedHint.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/DesktopNotifier.h"

namespace lumeris {

void TextDetectedHint::show(SettingsStore& settings, DesktopNotifier& notifier) {
    if (settings.boolValue(SettingKeys::TEXT_DETECTED_SEEN, false)) {
        return;
    }
    notifier.send(DesktopNotification{.title = TITLE, .body = BODY, .buttons = {}, .id = ID});
    settings.set(SettingKeys::TEXT_DETECTED_SEEN, true);
}

} // namespace lumeris
