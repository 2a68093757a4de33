#include "app/gtk/StatusItem.h"

#include "base/ResourceLocator.h"

#include <gtkmm/separatormenuitem.h>
#include <libayatana-appindicator/app-indicator.h>

namespace lumeris {

namespace {

void fill(Gtk::Menu& menu, const std::vector<StatusMenu::Item>& items,
          const StatusItem::Activate& activate) {
    for (const auto& item : items) {
        Gtk::MenuItem* entry = nullptr;
        if (item.label.empty()) {
            entry = Gtk::make_managed<Gtk::SeparatorMenuItem>();
        } else {
            entry = Gtk::make_managed<Gtk::MenuItem>(item.label);
            entry->set_sensitive(item.enabled);
            if (!item.submenu.empty()) {
                auto* submenu = Gtk::make_managed<Gtk::Menu>();
                fill(*submenu, item.submenu, activate);
                entry->set_submenu(*submenu);
            } else if (!item.action.empty()) {
                entry->signal_activate().connect(
                    [activate, action = item.action, target = item.target] {
                        activate(action, target);
                    });
            }
        }
        menu.append(*entry);
    }
    menu.show_all();
}

} // namespace

std::unique_ptr<Gtk::Menu> StatusItem::buildMenu(const std::vector<StatusMenu::Item>& items,
                                                 const Activate& activate) {
    auto menu = std::make_unique<Gtk::Menu>();
    fill(*menu, items, activate);
    return menu;
}

StatusItem::StatusItem(const std::vector<StatusMenu::Item>& items, const Activate& activate,
                       std::function<void(bool shown)> hostChanged)
    : menu_(buildMenu(items, activate)), hostChanged_(std::move(hostChanged)),
      indicator_(app_indicator_new("app.lumeris.Lumeris", ICON,
                                   APP_INDICATOR_CATEGORY_APPLICATION_STATUS)) {
    // An installed copy's icon is in the hicolor theme; a build tree's only among its resources.
    if (auto resources = ResourceLocator::resourcesFolder()) {
        app_indicator_set_icon_theme_path(indicator_.get(), (*resources / "icons").c_str());
    }
    app_indicator_set_title(indicator_.get(), "Lumeris");
    app_indicator_set_menu(indicator_.get(), menu_->gobj());
    // Main thread, from the session bus's replies.
    g_signal_connect(indicator_.get(), APP_INDICATOR_SIGNAL_CONNECTION_CHANGED,
                     G_CALLBACK(+[](AppIndicator*, gboolean connected, gpointer data) {
                         auto* self = static_cast<StatusItem*>(data);
                         if (self->hostChanged_) {
                             self->hostChanged_(connected != FALSE);
                         }
                     }),
                     this);
}

StatusItem::~StatusItem() {
    g_signal_handlers_disconnect_by_data(indicator_.get(), this);
    app_indicator_set_status(indicator_.get(), APP_INDICATOR_STATUS_PASSIVE);
}

void StatusItem::update(const std::vector<StatusMenu::Item>& items) {
    auto children = menu_->get_children();
    for (std::size_t index = 0; index < items.size() && index < children.size(); ++index) {
        if (items[index].label.empty()) {
            continue;
        }
        auto* entry = static_cast<Gtk::MenuItem*>(children[index]);
        entry->set_label(items[index].label);
        entry->set_sensitive(items[index].enabled);
    }
}

void StatusItem::setVisible(bool visible) {
    app_indicator_set_status(indicator_.get(),
                             visible ? APP_INDICATOR_STATUS_ACTIVE : APP_INDICATOR_STATUS_PASSIVE);
}

} // namespace lumeris
