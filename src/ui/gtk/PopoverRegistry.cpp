#include "ui/gtk/PopoverRegistry.h"

#include "base/Logger.h"
#include "ui/PopoverReusePolicy.h"

namespace lumeris {

PopoverRegistry::Entry::Entry(std::shared_ptr<PopoverContentViewController> content,
                              Gtk::Widget& anchor, int width, int height, PopoverBehavior behavior)
    : content_(std::move(content)), tracked_(anchor, content_->view(), width, height, behavior) {
    content_->setParentPopover(&tracked_.popover());
}

PopoverRegistry::Entry::~Entry() {
    // A kept content may already sit in a newer popover.
    if (content_->parentPopover() == &tracked_.popover()) {
        content_->setParentPopover(nullptr);
    }
}

PopoverRegistry& PopoverRegistry::shared() {
    static auto* registry = new PopoverRegistry;
    return *registry;
}

PopoverRegistry::Entry* PopoverRegistry::showPopover(const std::string& name, Gtk::Widget& anchor,
                                                     PopoverEdge preferredEdge, int width,
                                                     int height, bool reuse,
                                                     PopoverBehavior behavior,
                                                     const Content& content) {
    auto stored = entries_.find(name);
    bool exists = stored != entries_.end();
    bool alive = exists && stored->second->tracked_.alive();
    if (PopoverReusePolicy::decide(reuse, exists, alive) == PopoverReusePolicy::Action::Build) {
        if (exists && !alive) {
            LOG_DEBUG("Popover '{}' lost its window; building it afresh", name);
        }
        // The old popover goes first: a kept content has to leave it before joining the new one.
        if (exists) {
            entries_.erase(stored);
        }
        auto controller = std::holds_alternative<ContentFactory>(content)
                              ? std::get<ContentFactory>(content)()
                              : std::get<std::shared_ptr<PopoverContentViewController>>(content);
        if (!controller) {
            LOG_ERROR("Popover '{}' has no content to show", name);
            return nullptr;
        }
        stored = entries_
                     .insert_or_assign(name, std::make_unique<Entry>(std::move(controller), anchor,
                                                                     width, height, behavior))
                     .first;
    }
    stored->second->tracked_.show(anchor, preferredEdge);
    return stored->second.get();
}

PopoverRegistry::Entry* PopoverRegistry::find(const std::string& name) {
    auto stored = entries_.find(name);
    return stored == entries_.end() ? nullptr : stored->second.get();
}

} // namespace lumeris
