#include "app/gtk/WatermarkTemplateWindow.h"

#include "base/Logger.h"
#include "ui/gtk/InterfaceFile.h"

#include <gdk/gdkkeysyms.h>
#include <glibmm/main.h>
#include <gtkmm/box.h>
#include <gtkmm/headerbar.h>
#include <gtkmm/toolbutton.h>

namespace lumeris {

std::unique_ptr<WatermarkTemplateWindow>
WatermarkTemplateWindow::create(SettingsStore& settings, std::function<void()> selected) {
    auto builder = InterfaceFile::load("WatermarkTemplate");
    if (!builder) {
        return nullptr;
    }
    try {
        return std::unique_ptr<WatermarkTemplateWindow>(
            new WatermarkTemplateWindow(settings, std::move(selected), builder));
    } catch (const std::runtime_error& error) {
        LOG_ERROR("cannot build the watermark template window: {}", error.what());
        return nullptr;
    }
}

WatermarkTemplateWindow::WatermarkTemplateWindow(SettingsStore& settings,
                                                 std::function<void()> selected,
                                                 Glib::RefPtr<Gtk::Builder> builder)
    : builder_(std::move(builder)), list_(settings), selected_(std::move(selected)) {
    set_title("Watermark Templates");
    set_default_size(380, 340);
    set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);
    set_position(Gtk::WIN_POS_CENTER);
    set_titlebar(InterfaceFile::required<Gtk::HeaderBar>(builder_, "headerBar"));
    add(InterfaceFile::required<Gtk::Box>(builder_, "content"));

    rows_ = Glib::RefPtr<Gtk::ListStore>::cast_dynamic(builder_->get_object("watermarkTemplates"));
    table_ = &InterfaceFile::required<Gtk::TreeView>(builder_, "tableView");
    builder_->get_widget("selectButton", selectButton_);
    cell_ = dynamic_cast<Gtk::CellRendererText*>(table_->get_column_cell_renderer(0));
    if (!rows_ || cell_ == nullptr || selectButton_ == nullptr) {
        throw std::runtime_error("WatermarkTemplate.ui lacks the list or its Select button");
    }
    removeButton_ = &InterfaceFile::required<Gtk::ToolButton>(builder_, "removeButton");
    editButton_ = &InterfaceFile::required<Gtk::ToolButton>(builder_, "editButton");

    // The list's own signals may fire while GTK takes the window apart: they end first.
    connections_.push_back(
        table_->get_selection()->signal_changed().connect([this] { selectionChanged(); }));
    table_->signal_row_activated().connect(
        [this](const Gtk::TreeModel::Path&, Gtk::TreeViewColumn*) { selectAction(); });
    selectButton_->signal_clicked().connect([this] { selectAction(); });
    InterfaceFile::required<Gtk::ToolButton>(builder_, "addButton")
        .signal_clicked()
        .connect([this] { addAction(); });
    removeButton_->signal_clicked().connect([this] {
        if (auto row = selectedRow()) {
            list_.remove(*row);
            reload();
        }
    });
    editButton_->signal_clicked().connect([this] {
        if (auto row = selectedRow()) {
            startEditing(*row);
        }
    });
    connections_.push_back(
        cell_->signal_edited().connect([this](const Glib::ustring&, const Glib::ustring& text) {
            if (editing_) {
                editingEnded(*editing_, text);
            }
        }));
    // Leaving a field with Escape is an edit that ends empty-handed: a template keeps its text
    // and a blank new row goes.
    connections_.push_back(cell_->signal_editing_canceled().connect([this] {
        if (editing_) {
            editingEnded(*editing_, "");
        }
    }));
    reload();
}

WatermarkTemplateWindow::~WatermarkTemplateWindow() {
    lifetime_.reset();
    for (auto& connection : connections_) {
        connection.disconnect();
    }
}

void WatermarkTemplateWindow::reload() {
    rows_->clear();
    for (const auto& text : list_.templates()) {
        rows_->append()->set_value(0, Glib::ustring(text));
    }
    selectionChanged();
}

std::optional<std::size_t> WatermarkTemplateWindow::selectedRow() const {
    auto chosen = table_->get_selection()->get_selected();
    if (!chosen) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(rows_->get_path(chosen)[0]);
}

void WatermarkTemplateWindow::selectionChanged() {
    const bool chosen = selectedRow().has_value();
    selectButton_->set_sensitive(chosen);
    removeButton_->set_sensitive(chosen);
    editButton_->set_sensitive(chosen);
}

void WatermarkTemplateWindow::addAction() {
    if (!list_.add()) {
        return;
    }
    reload();
    // The new row is drawn first, so the field opens over it.
    Glib::signal_idle().connect_once([this, alive = std::weak_ptr<int>(lifetime_)] {
        if (!alive.expired() && !list_.templates().empty()) {
            startEditing(list_.templates().size() - 1);
        }
    });
}

void WatermarkTemplateWindow::startEditing(std::size_t row) {
    if (row >= list_.templates().size()) {
        return;
    }
    editing_ = row;
    cell_->property_editable() = true;
    Gtk::TreeModel::Path path;
    path.push_back(static_cast<int>(row));
    table_->get_selection()->select(path);
    table_->grab_focus();
    table_->set_cursor(path, *table_->get_column(0), true);
}

void WatermarkTemplateWindow::editingEnded(std::size_t row, const std::string& text) {
    editing_.reset();
    cell_->property_editable() = false;
    const auto end = list_.endEditing(row, text);
    reload();
    if (end != WatermarkTemplateList::EditEnd::Removed) {
        Gtk::TreeModel::Path path;
        path.push_back(static_cast<int>(row));
        table_->get_selection()->select(path);
    }
}

void WatermarkTemplateWindow::selectAction() {
    auto row = selectedRow();
    if (!row || !list_.select(*row)) {
        return;
    }
    hide();
    if (selected_) {
        selected_();
    }
}

bool WatermarkTemplateWindow::on_key_press_event(GdkEventKey* event) {
    if (Gtk::Window::on_key_press_event(event)) {
        return true;
    }
    if (event->keyval == GDK_KEY_Escape) {
        hide();
        return true;
    }
    return false;
}

bool WatermarkTemplateWindow::on_delete_event(GdkEventAny*) {
    hide();
    return true;
}

} // namespace lumeris
