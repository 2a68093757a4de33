#include "editor/gtk/ImageDragSource.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"

#include <algorithm>
#include <memory>
#include <string>

namespace lumeris {

namespace {

using SurfacePtr = GHandle<cairo_surface_t, cairo_surface_destroy>;

// One running drag, owned by its signal handlers until GTK reports the end.
struct Drag {
    GObjectPtr<GtkWidget> source;
    GdkDragContext* context = nullptr;
    std::string uri;
    std::function<void(bool)> ended;
    gulong handlers[3] = {};
};

bool primaryButtonHeld(GtkWidget* widget) {
    GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(widget));
    GdkModifierType state{};
    gdk_device_get_state(gdk_seat_get_pointer(seat), gtk_widget_get_window(widget), nullptr,
                         &state);
    return (state & GDK_BUTTON1_MASK) != 0;
}

// The picture at half its size in points, held at its middle.
SurfacePtr dragIcon(const RgbaImage& picture, GtkWidget* widget) {
    GObjectPtr<GdkPixbuf> full(gdk_pixbuf_new_from_data(picture.pixels.data(), GDK_COLORSPACE_RGB,
                                                        TRUE, 8, picture.width, picture.height,
                                                        picture.width * 4, nullptr, nullptr));
    const int width = std::max(1, picture.width / 2);
    const int height = std::max(1, picture.height / 2);
    GObjectPtr<GdkPixbuf> half(
        gdk_pixbuf_scale_simple(full.get(), width, height, GDK_INTERP_BILINEAR));
    if (!half) {
        return nullptr;
    }
    // The snapshot has the window's backing scale, so its pixels are points times that scale.
    SurfacePtr icon(gdk_cairo_surface_create_from_pixbuf(
        half.get(), gtk_widget_get_scale_factor(widget), gtk_widget_get_window(widget)));
    cairo_surface_set_device_offset(icon.get(), -width / 2.0, -height / 2.0);
    return icon;
}

void dataGet(GtkWidget*, GdkDragContext* context, GtkSelectionData* data, guint, guint,
             gpointer self) {
    auto* drag = static_cast<Drag*>(self);
    if (context == drag->context) {
        gchar* uris[] = {drag->uri.data(), nullptr};
        gtk_selection_data_set_uris(data, uris);
    }
}

// No slide-back animation: the window comes back to the front instead.
gboolean failed(GtkWidget*, GdkDragContext* context, GtkDragResult result, gpointer self) {
    if (context != static_cast<Drag*>(self)->context) {
        return FALSE;
    }
    LOG_DEBUG("drag failed ({})", static_cast<int>(result));
    return TRUE;
}

void end(GtkWidget* widget, GdkDragContext* context, gpointer self) {
    if (context != static_cast<Drag*>(self)->context) {
        return;
    }
    std::unique_ptr<Drag> drag(static_cast<Drag*>(self));
    const bool copied = gdk_drag_drop_succeeded(context) != FALSE &&
                        gdk_drag_context_get_selected_action(context) == GDK_ACTION_COPY;
    for (gulong handler : drag->handlers) {
        g_signal_handler_disconnect(widget, handler);
    }
    // The window may close in answer, which must not happen inside GTK's own drag handling.
    auto* ended =
        new std::function<void()>([ended = std::move(drag->ended), copied] { ended(copied); });
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer run) -> gboolean {
            (*static_cast<std::function<void()>*>(run))();
            return G_SOURCE_REMOVE;
        },
        ended, [](gpointer run) { delete static_cast<std::function<void()>*>(run); });
}

} // namespace

bool ImageDragSource::begin(GtkWidget* source, const std::filesystem::path& file,
                            const RgbaImage& picture, std::function<void(bool copied)> ended) {
    if (!primaryButtonHeld(source)) {
        LOG_DEBUG("the button was released before the drag could start");
        return false;
    }
    GCharPtr uri(g_filename_to_uri(file.c_str(), nullptr, nullptr));
    if (!uri) {
        LOG_ERROR("cannot start drag: {} has no file URI", file.string());
        return false;
    }
    auto drag = std::make_unique<Drag>(
        Drag{GObjectPtr<GtkWidget>::retain(source), nullptr, uri.get(), std::move(ended)});
    drag->handlers[0] = g_signal_connect(source, "drag-data-get", G_CALLBACK(dataGet), drag.get());
    drag->handlers[1] = g_signal_connect(source, "drag-failed", G_CALLBACK(failed), drag.get());
    drag->handlers[2] = g_signal_connect(source, "drag-end", G_CALLBACK(end), drag.get());

    GtkTargetList* targets = gtk_target_list_new(nullptr, 0);
    gtk_target_list_add_uri_targets(targets, 0);
    // No event: the press that asked for the picture was long handled; GTK takes the pointer
    // from the seat and grabs it until the button is released.
    drag->context =
        gtk_drag_begin_with_coordinates(source, targets, GDK_ACTION_COPY, 1, nullptr, -1, -1);
    gtk_target_list_unref(targets);
    if (drag->context == nullptr) {
        LOG_ERROR("cannot start drag: the pointer could not be grabbed");
        for (gulong handler : drag->handlers) {
            g_signal_handler_disconnect(source, handler);
        }
        return false;
    }
    if (auto icon = dragIcon(picture, source)) {
        gtk_drag_set_icon_surface(drag->context, icon.get());
    }
    if (GdkWindow* window = gtk_widget_get_window(gtk_widget_get_toplevel(source))) {
        gdk_window_lower(window);
    }
    static_cast<void>(drag.release()); // owned by the handlers until "drag-end"
    return true;
}

} // namespace lumeris
