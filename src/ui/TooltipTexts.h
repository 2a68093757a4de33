#pragma once

#include <string>
#include <string_view>

namespace lumeris {

// The texts the interface explains itself with, shared so every caller shows the same words.
class TooltipTexts {
public:
    // Help button of the default file name in the preferences (shown on the right).
    static constexpr std::string_view FILE_NAME_VARIABLES =
        "Available variables:\n\n{datetime} - Current date and time\n{uuid} - Unique random UUID "
        "string";
    // Beside the shortcut field in the preferences, once (hint "onboard-assign-shortcut").
    static constexpr std::string_view ONBOARD_ASSIGN_SHORTCUT =
        "Welcome to Lumeris! 👋\n\nGet started by assigning the keyboard shortcut for taking "
        "screenshots here!";
    // The editor's tip button and the annotation tools sheet (shown on top).
    static constexpr std::string_view ANNOTATION_KEYS =
        "Press \"1\": Add text (repeat to change size)\n\nPress \"2\": Add an arrow (repeat to "
        "change style)\n\nPress \"3\": Start redaction mode\n\nPress \"4\": Add shapes (repeat to "
        "change shape)";
    static constexpr std::string_view ERROR_PREFIX = "Error: ";

    // The menu-bar controller's error tooltip (shown on top).
    static std::string error(std::string_view message);
};

} // namespace lumeris
