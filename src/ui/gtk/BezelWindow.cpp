#include "ui/gtk/BezelWindow.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"
#include "ui/BezelGeometry.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <exception>
#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <optional>
#include <vector>

namespace lumeris {

struct BezelWindow::Fade {
    double from = 0;
    double to = 0;
    gint64 start = 0;
    gint64 duration = 0;
    std::function<void()> completion;
};

namespace {

using RegionHandle = GHandle<cairo_region_t, cairo_region_destroy>;
using SurfaceHandle = GHandle<cairo_surface_t, cairo_surface_destroy>;
using ContextHandle = GHandle<cairo_t, cairo_destroy>;

// Ease in and out, close to the usual default animation curve.
double eased(double t) {
    return t * t * (3 - 2 * t);
}

Rect frameOnMainMonitor(const BezelParameters& parameters) {
    std::vector<Rect> monitors;
    std::optional<std::size_t> primary;
    auto display = Gdk::Display::get_default();
    const int count = display ? display->get_n_monitors() : 0;
    auto primaryMonitor = display ? display->get_primary_monitor() : Glib::RefPtr<Gdk::Monitor>();
    for (int index = 0; index < count; ++index) {
        auto monitor = display->get_monitor(index);
        Gdk::Rectangle geometry;
        monitor->get_geometry(geometry);
        monitors.push_back({double(geometry.get_x()), double(geometry.get_y()),
                            double(geometry.get_width()), double(geometry.get_height())});
        if (monitor == primaryMonitor) {
            primary = static_cast<std::size_t>(index);
        }
    }
    return BezelGeometry::frame(monitors, primary, parameters.location, parameters.size);
}

// The rounded square as an X shape, for screens without a compositor to blend its corners.
RegionHandle roundedShape(int width, int height, double radius) {
    SurfaceHandle mask(cairo_image_surface_create(CAIRO_FORMAT_A1, width, height));
    ContextHandle cr(cairo_create(mask.get()));
    radius = std::clamp(radius, 0.0, std::min(width, height) / 2.0);
    cairo_new_sub_path(cr.get());
    cairo_arc(cr.get(), width - radius, radius, radius, -M_PI / 2, 0);
    cairo_arc(cr.get(), width - radius, height - radius, radius, 0, M_PI / 2);
    cairo_arc(cr.get(), radius, height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr.get(), radius, radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr.get());
    cairo_fill(cr.get());
    cairo_surface_flush(mask.get());
    return RegionHandle(gdk_cairo_region_create_from_surface(mask.get()));
}

} // namespace

BezelWindow::BezelWindow(BezelParameters parameters, std::function<void(BezelWindow*)> onClose)
    : Gtk::Window(Gtk::WINDOW_POPUP), parameters_(std::move(parameters)),
      onClose_(std::move(onClose)) {
    const auto side = BezelGeometry::size(parameters_.size);
    set_type_hint(Gdk::WINDOW_TYPE_HINT_NOTIFICATION);
    set_decorated(false);
    set_resizable(false);
    set_keep_above(true);
    set_skip_taskbar_hint(true);
    set_skip_pager_hint(true);
    set_accept_focus(false);
    set_focus_on_map(false);
    set_app_paintable(true);
    set_default_size(static_cast<int>(side.width), static_cast<int>(side.height));
    // An empty input shape lets every click through to whatever lies beneath.
    RegionHandle empty(cairo_region_create());
    gtk_widget_input_shape_combine_region(GTK_WIDGET(gobj()), empty.get());
    applyCompositing();
    signal_composited_changed().connect([this] {
        applyCompositing();
        queue_draw();
    });
    add(bezelContentView());
}

BezelWindow::~BezelWindow() {
    stopFade();
}

BezelContentView& BezelWindow::bezelContentView() {
    if (!bezelContentView_) {
        bezelContentView_ = std::make_unique<BezelContentView>(parameters_);
        bezelContentView_->show();
    }
    return *bezelContentView_;
}

void BezelWindow::setBezelDelegate(std::shared_ptr<BezelDelegate> delegate) {
    bezelDelegate_ = std::move(delegate);
}

void BezelWindow::applyCompositing() {
    auto screen = get_screen();
    const bool composited = screen->is_composited();
    if (auto visual = screen->get_rgba_visual(); composited && visual && !get_realized()) {
        gtk_widget_set_visual(GTK_WIDGET(gobj()), visual->gobj());
    }
    if (composited) {
        gtk_widget_shape_combine_region(GTK_WIDGET(gobj()), nullptr);
        return;
    }
    const auto side = BezelGeometry::size(parameters_.size);
    auto shape = roundedShape(static_cast<int>(side.width), static_cast<int>(side.height),
                              parameters_.cornerRadius);
    gtk_widget_shape_combine_region(GTK_WIDGET(gobj()), shape.get());
}

void BezelWindow::showWithoutActivating() {
    const Rect frame = frameOnMainMonitor(parameters_);
    move(static_cast<int>(std::lround(frame.x)), static_cast<int>(std::lround(frame.y)));
    set_opacity(0.0);
    show();
}

void BezelWindow::fadeTo(double alpha, double seconds, std::function<void()> completion) {
    stopFade();
    fade_ = std::make_unique<Fade>(Fade{get_opacity(), alpha, g_get_monotonic_time(),
                                        static_cast<gint64>(std::max(0.0, seconds) * 1e6),
                                        std::move(completion)});
    // Even an instant fade finishes from the main loop, so callers never re-enter.
    fadeSource_ = g_timeout_add(FADE_STEP_MILLISECONDS, &BezelWindow::onFadeStep, this);
}

gboolean BezelWindow::onFadeStep(gpointer data) {
    auto* self = static_cast<BezelWindow*>(data);
    Fade& fade = *self->fade_;
    const gint64 elapsed = g_get_monotonic_time() - fade.start;
    const double t =
        fade.duration > 0 ? std::min(1.0, static_cast<double>(elapsed) / fade.duration) : 1.0;
    self->set_opacity(fade.from + (fade.to - fade.from) * eased(t));
    if (t < 1.0) {
        return G_SOURCE_CONTINUE;
    }
    // The completion may close this window, so nothing of it is touched afterwards.
    self->fadeSource_ = 0;
    auto finished = std::move(self->fade_);
    if (finished->completion) {
        try {
            finished->completion();
        } catch (const std::exception& error) {
            LOG_ERROR("A bezel fade's completion failed: {}", error.what());
        }
    }
    return G_SOURCE_REMOVE;
}

void BezelWindow::stopFade() {
    if (fadeSource_ != 0) {
        g_source_remove(fadeSource_);
        fadeSource_ = 0;
    }
    fade_.reset();
}

void BezelWindow::close() {
    stopFade();
    hide();
    if (auto onClose = std::exchange(onClose_, nullptr)) {
        onClose(this);
    }
}

} // namespace lumeris
