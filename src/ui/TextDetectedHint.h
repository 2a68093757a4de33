#pragma once

namespace lumeris {

class DesktopNotifier;
class SettingsStore;

// The one-time hint that recognised text can be copied from the editor. Without a status item to
// anchor a popover to, it goes to the desktop's notification list.
class TextDetectedHint {
public:
    static constexpr const char* ID = "text-detected";
    static constexpr const char* TITLE = "Text in screenshots can be copied";
    static constexpr const char* BODY =
        "Lumeris recognises the text in your screenshots. Select it in the editor and press "
        "Ctrl+C to copy the text instead of the picture.";

    // Sends the hint unless "text-detected-seen" is on, and turns it on.
    static void show(SettingsStore& settings, DesktopNotifier& notifier);
};

} // namespace lumeris
