#include "editor/gtk/BackgroundColorPickerViewController.h"

#include "base/ColorText.h"
#include "capture/CustomBackgroundCache.h"
#include "editor/gtk/ToolbarPictures.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/AlertRequest.h"
#include "ui/Alerts.h"
#include "ui/FileChooser.h"

#include <cctype>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtkmm/grid.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/separator.h>

namespace lumeris {

namespace {

// What "#%02X%02X%02X" reads back as, opaque; black for anything else.
Gdk::RGBA wellColour(const std::string& hex) {
    Gdk::RGBA rgba;
    if (hex.size() != 7 || hex[0] != '#' || !rgba.set(hex)) {
        rgba.set_rgba(0, 0, 0);
    }
    rgba.set_alpha(1);
    return rgba;
}

std::string hexOf(const Gtk::ColorButton& well) {
    const Gdk::RGBA colour = well.get_rgba();
    return ColorText::colorHexString(colour.get_red(), colour.get_green(), colour.get_blue());
}

} // namespace

BackgroundColorPickerViewController::BackgroundColorPickerViewController(
    SettingsStore& settings, std::shared_ptr<FileChooser> fileChooser,
    std::shared_ptr<Alerts> alerts, Delegate delegate, int scale)
    : PopoverContentViewController(Gtk::Builder::create(), box_), settings_(settings),
      fileChooser_(std::move(fileChooser)), alerts_(std::move(alerts)),
      delegate_(std::move(delegate)), box_(Gtk::ORIENTATION_VERTICAL, 8) {
    box_.set_margin_start(12);
    box_.set_margin_end(12);
    box_.set_margin_top(12);
    box_.set_margin_bottom(12);

    auto* grid = Gtk::make_managed<Gtk::Grid>();
    grid->set_row_spacing(6);
    grid->set_column_spacing(12);
    Gtk::RadioButton::Group group;
    const struct {
        const char* option;
        const char* title;
    } rows[] = {{"plain", "Colour"}, {"gradient", "Gradient"}, {"file", "Picture"}};
    int top = 0;
    for (const auto& row : rows) {
        auto* button = Gtk::make_managed<Gtk::RadioButton>(group, row.title);
        button->set_name(row.option);
        button->set_hexpand(true);
        options_[row.option] = button;
        button->signal_toggled().connect([this, button, option = std::string(row.option)] {
            if (!showing_ && button->get_active()) {
                bgOptionChanged(option);
            }
        });
        grid->attach(*button, 0, top++);
    }

    // The wells carry the option they stand for: touching one chooses it.
    const struct {
        const char* which;
        const char* option;
        const char* title;
    } wells[] = {{"plain", "plain", "Background Colour"},
                 {"gradient-start", "gradient", "Gradient Start"},
                 {"gradient-stop", "gradient", "Gradient End"}};
    for (const auto& entry : wells) {
        auto* well = Gtk::make_managed<Gtk::ColorButton>();
        well->set_name(entry.option);
        well->set_title(entry.title);
        well->set_use_alpha(false);
        well->signal_color_set().connect(
            [this, option = std::string(entry.option)] { settingChangedAction(option); });
        wells_[entry.which] = well;
    }
    auto* gradientWells = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, 0);
    gradientWells->get_style_context()->add_class("linked");
    gradientWells->pack_start(*wells_.at("gradient-start"), false, false);
    gradientWells->pack_start(*wells_.at("gradient-stop"), false, false);
    gradientWells->set_halign(Gtk::ALIGN_END);
    wells_.at("plain")->set_halign(Gtk::ALIGN_END);
    selectFileButton_.set_label("Choose…");
    selectFileButton_.set_tooltip_text(FILE_CHOOSER_TITLE);
    selectFileButton_.signal_clicked().connect([this] { selectFileButtonAction(); });
    grid->attach(*wells_.at("plain"), 1, 0);
    grid->attach(*gradientWells, 1, 1);
    grid->attach(selectFileButton_, 1, 2);
    box_.pack_start(*grid, false, false);

    box_.pack_start(*Gtk::make_managed<Gtk::Separator>(), false, false);
    auto* heading = Gtk::make_managed<Gtk::Label>("More backgrounds");
    heading->set_xalign(0);
    heading->get_style_context()->add_class("dim-label");
    box_.pack_start(*heading, false, false);
    auto* builtIns = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, 4);
    for (const char* id : BUILT_INS) {
        auto* button = Gtk::make_managed<Gtk::Button>();
        auto* image = Gtk::make_managed<Gtk::Image>();
        gtk_image_set_from_surface(
            image->gobj(), ToolbarPictures::backgroundThumbnail(id, settings_, scale)->cobj());
        button->add(*image);
        button->set_name(id);
        button->set_relief(Gtk::RELIEF_NONE);
        button->set_focus_on_click(false);
        button->set_tooltip_text(std::string(1, static_cast<char>(std::toupper(id[0]))) + (id + 1));
        button->get_style_context()->add_class("background-button");
        button->signal_clicked().connect([this, id = std::string(id)] {
            if (delegate_.builtInChosen) {
                delegate_.builtInChosen(id);
            }
            reload();
        });
        builtIns_[id] = button;
        builtIns->pack_start(*button, false, false);
    }
    box_.pack_start(*builtIns, false, false);
    box_.show_all();
    reload();
}

void BackgroundColorPickerViewController::reload() {
    wells_.at("plain")->set_rgba(wellColour(settings_.string(SettingKeys::BG_COLOR_PLAIN, "")));
    wells_.at("gradient-start")
        ->set_rgba(wellColour(settings_.string(SettingKeys::BG_COLOR_GRADIENT_START, "")));
    wells_.at("gradient-stop")
        ->set_rgba(wellColour(settings_.string(SettingKeys::BG_COLOR_GRADIENT_STOP, "")));
    showOption(settings_.string(SettingKeys::BG_COLOR_OPTION, "plain"));
    const std::string background = settings_.string(SettingKeys::BACKGROUND_ID, "");
    for (auto& [id, button] : builtIns_) {
        auto style = button->get_style_context();
        if (id == background) {
            style->add_class("chosen");
        } else {
            style->remove_class("chosen");
        }
    }
}

void BackgroundColorPickerViewController::showOption(const std::string& option) {
    auto found = options_.find(option);
    if (found == options_.end()) {
        return;
    }
    showing_ = true;
    found->second->set_active(true);
    showing_ = false;
}

void BackgroundColorPickerViewController::settingChangedAction(const std::string& option) {
    settings_.set(SettingKeys::BG_COLOR_PLAIN, hexOf(*wells_.at("plain")));
    settings_.set(SettingKeys::BG_COLOR_GRADIENT_START, hexOf(*wells_.at("gradient-start")));
    settings_.set(SettingKeys::BG_COLOR_GRADIENT_STOP, hexOf(*wells_.at("gradient-stop")));
    settings_.set(SettingKeys::BG_COLOR_OPTION, option);
    showOption(option);
    if (delegate_.colorChanged) {
        delegate_.colorChanged();
    }
}

void BackgroundColorPickerViewController::bgOptionChanged(const std::string& option) {
    settings_.set(SettingKeys::BG_COLOR_OPTION, option);
    if (delegate_.colorChanged) {
        delegate_.colorChanged();
    }
}

void BackgroundColorPickerViewController::selectFileButtonAction() {
    FileChooserRequest request;
    request.title = FILE_CHOOSER_TITLE;
    request.showHidden = true;
    // The chooser answers after this popover may have gone with its editor.
    fileChooser_->chooseFileToOpen(request, [this, alive = std::weak_ptr<int>(lifetime_)](
                                                const std::optional<std::filesystem::path>& file) {
        if (file && !alive.expired()) {
            fileChosen(*file);
        }
    });
}

void BackgroundColorPickerViewController::fileChosen(const std::filesystem::path& file) {
    // Only the header is read: a file that is no picture would leave the background empty.
    if (gdk_pixbuf_get_file_info(file.c_str(), nullptr, nullptr) == nullptr) {
        alerts_->show(AlertRequest{"Error",
                                   "“" + file.filename().string() +
                                       "” is not a picture Lumeris can read. The background "
                                       "stays as it was.",
                                   {"OK"}},
                      [](int) {});
        return;
    }
    settings_.set(SettingKeys::CUSTOM_BACKGROUND_FILE_PATH, file.string());
    settings_.set(SettingKeys::BG_COLOR_OPTION, std::string("file"));
    showOption("file");
    CustomBackgroundCache::clearCutsomBackgroundFile(settings_);
    if (delegate_.fileChosen) {
        delegate_.fileChosen();
    }
}

} // namespace lumeris
