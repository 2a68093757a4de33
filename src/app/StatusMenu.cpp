#include "app/StatusMenu.h"

namespace lumeris {

std::vector<StatusMenu::Item> StatusMenu::items(const std::string& captureTitle,
                                                const DetectedTextHistory& history) {
    const Item separator{"", ""};
    std::vector<Item> items{
        {captureTitle, "app.capture"},
        {"Capture Window", "app.capture-window"},
        separator,
        {"Open File…", "app.open-file"},
        {"Open from Clipboard", "app.from-clipboard"},
        {"Reopen Last Closed", "app.reopen"},
        {"Screenshot Archives", "app.reveal-archives"},
        separator,
        {"Recognised Text", "", "", false},
    };
    int position = 1;
    for (const auto& entry : history.entries()) {
        items.push_back(
            {entry.title, COPY_DETECTED_TEXT, std::to_string(position++), entry.enabled});
    }
    items.push_back(separator);
    items.push_back({"Editor",
                     "",
                     "",
                     true,
                     {
                         {"Zoom In", EDITOR, "zoom-in"},
                         {"Zoom Out", EDITOR, "zoom-out"},
                         {"Zoom to Fit", EDITOR, "zoom-fill"},
                         {"Actual Size", EDITOR, "zoom-100"},
                         {"Smart Text Wrap", EDITOR, "smart-wrap"},
                     }});
    items.push_back({"Preferences…", "app.preferences"});
    items.push_back({"Hide Windows", "app.hide"});
    items.push_back(separator);
    items.push_back({"Acknowledgements", "app.acknowledgements"});
    items.push_back({"Factory Reset…", "app.factory-reset"});
    items.push_back({"Quit Lumeris", "app.quit"});
    return items;
}

} // namespace lumeris
