#pragma once

#include "ui/PopoverBehavior.h"
#include "ui/PopoverEdge.h"
#include "ui/gtk/PopoverContentViewController.h"
#include "ui/gtk/TrackedPopover.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>

namespace lumeris {

// The popovers of the editor and the menu-bar controller, by name. A show either builds a fresh
// popover (replacing the entry) or, with reuse, shows the stored one again with the content it
// was built with; an entry whose anchor or window has gone is always rebuilt.
class PopoverRegistry {
public:
    using ContentFactory = std::function<std::shared_ptr<PopoverContentViewController>()>;
    // A content controller, or a function that builds one only when a popover is built.
    using Content = std::variant<std::shared_ptr<PopoverContentViewController>, ContentFactory>;

    class Entry {
    public:
        Entry(std::shared_ptr<PopoverContentViewController> content, Gtk::Widget& anchor, int width,
              int height, PopoverBehavior behavior);
        ~Entry();
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

        Gtk::Popover& popover() { return tracked_.popover(); }
        PopoverContentViewController& content() { return *content_; }
        template <typename T> T* contentAs() { return dynamic_cast<T*>(content_.get()); }

    private:
        friend class PopoverRegistry;
        std::shared_ptr<PopoverContentViewController> content_;
        TrackedPopover tracked_;
    };

    // The process's registry (lives until exit; never destroyed, as GTK is gone by then).
    static PopoverRegistry& shared();

    PopoverRegistry() = default;
    PopoverRegistry(const PopoverRegistry&) = delete;
    PopoverRegistry& operator=(const PopoverRegistry&) = delete;

    // Shows `content` attached to `anchor` and returns the entry now stored under `name`; nullptr
    // when there was no content to build a popover with. `width` × `height` is the content's
    // smallest size.
    Entry* showPopover(const std::string& name, Gtk::Widget& anchor, PopoverEdge preferredEdge,
                       int width, int height, bool reuse, PopoverBehavior behavior,
                       const Content& content);

    Entry* find(const std::string& name);
    std::size_t size() const { return entries_.size(); }

private:
    std::map<std::string, std::unique_ptr<Entry>> entries_;
};

} // namespace lumeris
