#pragma once

#include "app/StatusMenu.h"
#include "base/GObjectPtr.h"

#include <functional>
#include <gtkmm/menu.h>
#include <libayatana-appindicator/app-indicator.h>
#include <memory>
#include <string>
#include <vector>

namespace lumeris {

// The tray icon: a StatusNotifierItem exported through Ayatana AppIndicator, with the menu
// exported beside it; where no status item host runs, the library falls back to an icon of the
// X tray. Main thread.
class StatusItem {
public:
    // Runs the menu entry's action with its parameter (empty when it takes none).
    using Activate = std::function<void(const std::string& action, const std::string& target)>;

    static constexpr const char* ICON = "app.lumeris.Lumeris-symbolic";

    // `hostChanged(shown)`: a host of status items took the item, or went away.
    StatusItem(const std::vector<StatusMenu::Item>& items, const Activate& activate,
               std::function<void(bool shown)> hostChanged);
    ~StatusItem();
    StatusItem(const StatusItem&) = delete;
    StatusItem& operator=(const StatusItem&) = delete;

    // New titles and enabled states for the same entries.
    void update(const std::vector<StatusMenu::Item>& items);
    void setVisible(bool visible);

    Gtk::Menu& menu() { return *menu_; }

    // Builds a menu of `items` (used for the tray and for pictures of it).
    static std::unique_ptr<Gtk::Menu> buildMenu(const std::vector<StatusMenu::Item>& items,
                                                const Activate& activate);

private:
    std::unique_ptr<Gtk::Menu> menu_;
    std::function<void(bool shown)> hostChanged_;
    // Declared last so it goes first, before the menu it exports.
    GObjectPtr<AppIndicator> indicator_;
};

} // namespace lumeris
