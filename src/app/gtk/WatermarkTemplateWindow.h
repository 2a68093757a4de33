#pragma once

#include "presets/WatermarkTemplateList.h"

#include <functional>
#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/cellrenderertext.h>
#include <gtkmm/liststore.h>
#include <gtkmm/toolbutton.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class SettingsStore;

// The list of favourite watermark texts: add, edit, remove, and Select (or a double-click) to
// make one the watermark of every open editor. The application keeps one for the whole run;
// closing only hides it.
class WatermarkTemplateWindow : public Gtk::Window {
public:
    // `selected` runs after a template has been written as the watermark text. Nothing (and a
    // logged error) when the interface file is missing.
    static std::unique_ptr<WatermarkTemplateWindow> create(SettingsStore& settings,
                                                           std::function<void()> selected);
    ~WatermarkTemplateWindow() override;

    Gtk::TreeView& tableView() { return *table_; }
    Gtk::Button& selectButton() { return *selectButton_; }
    const WatermarkTemplateList& templates() const { return list_; }
    // Adds a blank row and starts editing it on the next turn of the main loop.
    void addAction();

protected:
    // Escape closes, unless a row being edited takes it first.
    bool on_key_press_event(GdkEventKey* event) override;
    bool on_delete_event(GdkEventAny* event) override;

private:
    WatermarkTemplateWindow(SettingsStore& settings, std::function<void()> selected,
                            Glib::RefPtr<Gtk::Builder> builder);
    void reload();
    std::optional<std::size_t> selectedRow() const;
    void selectionChanged();
    void startEditing(std::size_t row);
    void editingEnded(std::size_t row, const std::string& text);
    void selectAction();

    Glib::RefPtr<Gtk::Builder> builder_;
    WatermarkTemplateList list_;
    std::function<void()> selected_;
    Glib::RefPtr<Gtk::ListStore> rows_;
    Gtk::TreeView* table_ = nullptr;
    Gtk::CellRendererText* cell_ = nullptr;
    Gtk::Button* selectButton_ = nullptr;
    Gtk::ToolButton* removeButton_ = nullptr;
    Gtk::ToolButton* editButton_ = nullptr;
    // The row being edited; the cell's signals name it by path, which a reload invalidates.
    std::optional<std::size_t> editing_;
    std::vector<sigc::connection> connections_;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace lumeris
