#include "editor/gtk/CanvasFrame.h"

#include <algorithm>

namespace lumeris {

void CanvasFrame::requested(int& width, int& height) const {
    width = height = 0;
    const auto children = get_children();
    if (const Gtk::Widget* child = children.empty() ? nullptr : children.front()) {
        child->get_size_request(width, height);
        width = std::max(width, 0);
        height = std::max(height, 0);
    }
}

Gtk::SizeRequestMode CanvasFrame::get_request_mode_vfunc() const {
    return Gtk::SIZE_REQUEST_CONSTANT_SIZE;
}

void CanvasFrame::get_preferred_width_vfunc(int& minimum, int& natural) const {
    int height = 0;
    requested(minimum, height);
    natural = minimum;
}

void CanvasFrame::get_preferred_height_vfunc(int& minimum, int& natural) const {
    int width = 0;
    requested(width, minimum);
    natural = minimum;
}

void CanvasFrame::get_preferred_width_for_height_vfunc(int, int& minimum, int& natural) const {
    get_preferred_width_vfunc(minimum, natural);
}

void CanvasFrame::get_preferred_height_for_width_vfunc(int, int& minimum, int& natural) const {
    get_preferred_height_vfunc(minimum, natural);
}

void CanvasFrame::on_size_allocate(Gtk::Allocation& allocation) {
    set_allocation(allocation);
    const auto children = get_children();
    Gtk::Widget* child = children.empty() ? nullptr : children.front();
    if (child == nullptr || !child->get_visible()) {
        return;
    }
    int width = 0;
    int height = 0;
    requested(width, height);
    // GTK wants a child measured before it is allocated.
    int minimum = 0;
    int natural = 0;
    child->get_preferred_width(minimum, natural);
    child->get_preferred_height(minimum, natural);
    Gtk::Allocation exact(allocation.get_x(), allocation.get_y(), width, height);
    child->size_allocate(exact);
}

} // namespace lumeris
