#pragma once

#include <gtkmm/fixed.h>

namespace lumeris {

// The renderer view's parent in the editor: exactly as large as the view's size request (the
// canvas at the zoom shown), so that the scrolled area centres the canvas. WebKit reports the
// view's last size as its natural one, which lags every zoom change by one step and left a
// zoomed-out canvas at the left edge of a larger view.
class CanvasFrame : public Gtk::Fixed {
protected:
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void get_preferred_width_vfunc(int& minimum, int& natural) const override;
    void get_preferred_height_vfunc(int& minimum, int& natural) const override;
    void get_preferred_width_for_height_vfunc(int height, int& minimum,
                                              int& natural) const override;
    void get_preferred_height_for_width_vfunc(int width, int& minimum, int& natural) const override;
    void on_size_allocate(Gtk::Allocation& allocation) override;

private:
    // The child's size request; 0 × 0 without a child.
    void requested(int& width, int& height) const;
};

} // namespace lumeris
