#pragma once

#include <string>
#include <vector>

namespace lumeris {

// A message for the desktop's notification list, for hints that have no window to anchor to.
struct DesktopNotification {
    // A button runs an action of the application ("app.open-folder"), with an optional string
    // target.
    struct Button {
        std::string label;
        std::string action;
        std::string target;
    };

    std::string title;
    std::string body;
    std::vector<Button> buttons;
    // Sending again with the same id replaces the earlier notification.
    std::string id;
};

} // namespace lumeris
