#pragma once

#include "ui/OnceHints.h"
#include "ui/PopoverEdge.h"
#include "ui/gtk/TooltipViewController.h"
#include "ui/gtk/TrackedPopover.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lumeris {

class SettingsStore;

// The one text tooltip of the process: help texts, errors, tips and one-time hints all show in
// the same popover, moved to whichever control asks. The program keeps one instance.
class Tooltips {
public:
    static constexpr std::string_view GLOBAL_TOOLTIP = "global-tooltip";
    static constexpr int WIDTH = 300;
    static constexpr int HEIGHT = 50;

    explicit Tooltips(SettingsStore& settings);
    ~Tooltips();
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;

    // Shows `text` beside `view`, on the right when `forceRightEdge`. A hint with `onceID` the
    // user turned off shows nothing. The size is a minimum, taken when the popover is built.
    void showTooltip(const std::string& text, Gtk::Widget& view, PopoverEdge preferredEdge,
                     bool forceRightEdge = false, std::optional<std::string> onceID = std::nullopt,
                     int width = WIDTH, int height = HEIGHT);

    // The tooltip's controller and popover once one was shown (nullptr before).
    TooltipViewController* controller() { return controller_.get(); }
    Gtk::Popover* popover() { return popover_ ? &popover_->popover() : nullptr; }

private:
    OnceHints hints_;
    std::unique_ptr<TooltipViewController> controller_;
    // Declared last so it goes first, handing the controller's view back before that goes.
    std::unique_ptr<TrackedPopover> popover_;
};

} // namespace lumeris
