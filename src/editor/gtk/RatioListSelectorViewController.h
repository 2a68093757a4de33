#pragma once

#include "presets/RatioTemplate.h"
#include "ui/gtk/PopoverContentViewController.h"

#include <functional>
#include <gtkmm/button.h>
#include <gtkmm/grid.h>
#include <optional>
#include <vector>

namespace lumeris {

// A platform's formats: one row per template with its "Fit Ratio" button (and the "Exact Size"
// button, kept hidden). The popover stays open on a choice, which is highlighted.
class RatioListSelectorViewController : public PopoverContentViewController {
public:
    static constexpr int WIDTH = 300;
    static constexpr int HEIGHT = 200;

    struct Delegate {
        std::function<void(const RatioTemplate&)> didSelectRatio;
        std::function<void(const RatioTemplate&)> didSelectSize;
    };

    RatioListSelectorViewController(std::vector<RatioTemplate> templates,
                                    std::optional<RatioTemplate> selectedTemplate,
                                    Delegate delegate);

    const std::vector<Gtk::Button*>& allButtons() const { return allButtons_; }

private:
    void tapped(Gtk::Button* button, std::size_t index, bool exactSize);

    Gtk::Grid grid_;
    std::vector<RatioTemplate> templates_;
    Delegate delegate_;
    std::vector<Gtk::Button*> allButtons_;
};

} // namespace lumeris
