#include "ui/gtk/Tooltips.h"

#include "base/Logger.h"
#include "ui/PopoverReusePolicy.h"

namespace lumeris {

Tooltips::Tooltips(SettingsStore& settings) : hints_(settings) {}

Tooltips::~Tooltips() = default;

void Tooltips::showTooltip(const std::string& text, Gtk::Widget& view, PopoverEdge preferredEdge,
                           bool forceRightEdge, std::optional<std::string> onceID, int width,
                           int height) {
    if (onceID && hints_.isSuppressed(*onceID)) {
        return;
    }
    if (!controller_) {
        controller_ = TooltipViewController::create(hints_);
        if (!controller_) {
            LOG_ERROR("No tooltip for: {}", text);
            return;
        }
    }
    bool exists = popover_ != nullptr;
    if (PopoverReusePolicy::decide(true, exists, exists && popover_->alive()) ==
        PopoverReusePolicy::Action::Build) {
        // The previous window took the popover with it; the controller's view moves over.
        popover_.reset();
        popover_ = std::make_unique<TrackedPopover>(view, controller_->view(), width, height,
                                                    PopoverBehavior::Transient);
        controller_->setParentPopover(&popover_->popover());
        LOG_DEBUG("Built the {} popover", GLOBAL_TOOLTIP);
    }
    popover_->show(view, forceRightEdge ? PopoverEdge::Right : preferredEdge);
    controller_->configure(text, std::move(onceID));
}

} // namespace lumeris
