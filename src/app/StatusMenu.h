#pragma once

#include "app/DetectedTextHistory.h"

#include <string>
#include <vector>

namespace lumeris {

// The entries of the tray's menu, in order, as application actions: the desktop shows them
// through whichever status item host runs, and every one is also an action of the application
// bus object, so a desktop without a tray still reaches them.
class StatusMenu {
public:
    struct Item {
        std::string label;
        // "app.capture"; empty for a separator.
        std::string action;
        // The action's string parameter, when it takes one.
        std::string target = {};
        bool enabled = true;
        // Items of a submenu, whose label this item carries.
        std::vector<Item> submenu = {};
    };

    // Parameter of "app.copy-detected-text": the entry's position, "1" for the newest.
    static constexpr const char* COPY_DETECTED_TEXT = "app.copy-detected-text";
    // Parameter of "app.editor": the editor window's own action ("zoom-in").
    static constexpr const char* EDITOR = "app.editor";

    static std::vector<Item> items(const std::string& captureTitle,
                                   const DetectedTextHistory& history);
};

} // namespace lumeris
