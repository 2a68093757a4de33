#include "editor/gtk/RatioListSelectorViewController.h"

#include "editor/EditorButtons.h"

#include <gtkmm/label.h>

namespace lumeris {

namespace {

Gtk::Label* cell(const std::string& text, bool dim) {
    auto* label = Gtk::make_managed<Gtk::Label>(text);
    label->set_xalign(0);
    if (dim) {
        label->get_style_context()->add_class("dim-label");
    }
    return label;
}

} // namespace

RatioListSelectorViewController::RatioListSelectorViewController(
    std::vector<RatioTemplate> templates, std::optional<RatioTemplate> selectedTemplate,
    Delegate delegate)
    : PopoverContentViewController(Gtk::Builder::create(), grid_), templates_(std::move(templates)),
      delegate_(std::move(delegate)) {
    grid_.set_row_spacing(4);
    grid_.set_column_spacing(8);
    grid_.set_margin_start(12);
    grid_.set_margin_end(12);
    grid_.set_margin_top(10);
    grid_.set_margin_bottom(10);
    grid_.attach(*cell("", false), 0, 0);
    grid_.attach(*cell("Fit Ratio", true), 1, 0);
    auto* exactHeader = cell("Exact Size", true);
    grid_.attach(*exactHeader, 2, 0);
    for (std::size_t row = 0; row < templates_.size(); ++row) {
        const RatioTemplate& entry = templates_[row];
        const int gridRow = static_cast<int>(row) + 1;
        grid_.attach(*cell(entry.name, false), 0, gridRow);
        auto* ratio =
            Gtk::make_managed<Gtk::Button>(EditorButtons::templateRatioSetting(entry, false));
        auto* size =
            Gtk::make_managed<Gtk::Button>(EditorButtons::templateRatioSetting(entry, true));
        for (auto [button, exact] : {std::pair{ratio, false}, std::pair{size, true}}) {
            button->get_style_context()->add_class("ratio-button");
            button->signal_clicked().connect(
                [this, button, row, exact] { tapped(button, row, exact); });
            allButtons_.push_back(button);
        }
        if (selectedTemplate == entry) {
            ratio->get_style_context()->add_class("chosen");
        }
        grid_.attach(*ratio, 1, gridRow);
        grid_.attach(*size, 2, gridRow);
        size->set_no_show_all(true);
    }
    exactHeader->set_no_show_all(true);
    grid_.show_all();
}

void RatioListSelectorViewController::tapped(Gtk::Button* button, std::size_t index,
                                             bool exactSize) {
    for (auto* other : allButtons_) {
        other->get_style_context()->remove_class("chosen");
    }
    button->get_style_context()->add_class("chosen");
    const auto& chosen =
        delegate_.*(exactSize ? &Delegate::didSelectSize : &Delegate::didSelectRatio);
    if (chosen) {
        chosen(templates_.at(index));
    }
}

} // namespace lumeris
