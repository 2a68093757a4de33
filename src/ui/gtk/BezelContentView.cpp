#include "ui/gtk/BezelContentView.h"

#include "ui/BezelGeometry.h"

#include <algorithm>
#include <cmath>
#include <gtkmm/settings.h>
#include <pangomm/layout.h>

namespace lumeris {

namespace {

void roundedRectangle(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height,
                      double radius) {
    radius = std::clamp(radius, 0.0, std::min(width, height) / 2);
    cr->begin_new_sub_path();
    cr->arc(width - radius, radius, radius, -M_PI / 2, 0);
    cr->arc(width - radius, height - radius, radius, 0, M_PI / 2);
    cr->arc(radius, height - radius, radius, M_PI / 2, M_PI);
    cr->arc(radius, radius, radius, M_PI, 3 * M_PI / 2);
    cr->close_path();
}

// Cairo wants premultiplied native-endian ARGB.
Cairo::RefPtr<Cairo::ImageSurface> surfaceFrom(const RgbaImage& image) {
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, image.width, image.height);
    surface->flush();
    unsigned char* data = surface->get_data();
    const int stride = surface->get_stride();
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            const std::uint32_t a = p[3];
            auto premultiply = [a](std::uint32_t c) {
                return (c * a + 127) / 255;
            };
            row[x] = (a << 24) | (premultiply(p[0]) << 16) | (premultiply(p[1]) << 8) |
                     premultiply(p[2]);
        }
    }
    surface->mark_dirty();
    return surface;
}

Pango::FontDescription fontFor(const LabelFont& wanted) {
    Pango::FontDescription font;
    if (wanted.family.empty()) {
        font = Pango::FontDescription(Gtk::Settings::get_default()->property_gtk_font_name());
    } else {
        font.set_family(wanted.family);
    }
    // Sizes are in the bezel's own units, like its 200-point side, not typographic points.
    font.set_absolute_size(wanted.size * PANGO_SCALE);
    return font;
}

} // namespace

BezelContentView::BezelContentView(BezelParameters parameters)
    : parameters_(std::move(parameters)) {
    const auto side = BezelGeometry::size(parameters_.size);
    set_size_request(static_cast<int>(side.width), static_cast<int>(side.height));
    if (parameters_.icon && !parameters_.icon->empty()) {
        iconSurface_ = surfaceFrom(*parameters_.icon);
    }
}

bool BezelContentView::on_draw(const Cairo::RefPtr<Cairo::Context>& cr) {
    const double width = get_allocated_width();
    const double height = get_allocated_height();
    const bool composited = get_screen()->is_composited();

    cr->save();
    cr->set_operator(Cairo::OPERATOR_SOURCE);
    cr->set_source_rgba(0, 0, 0, 0);
    cr->paint();
    cr->restore();

    const Color& tint = parameters_.backgroundTint;
    roundedRectangle(cr, width, height, parameters_.cornerRadius);
    cr->set_source_rgba(tint.red, tint.green, tint.blue,
                        composited ? tint.alpha * TRANSLUCENT_TINT_ALPHA : 1.0);
    cr->fill();

    auto layout = create_pango_layout(parameters_.messageText);
    layout->set_font_description(fontFor(parameters_.messageLabelFont));
    layout->set_alignment(Pango::ALIGN_CENTER);
    Pango::Rectangle ink;
    Pango::Rectangle logical;
    layout->get_pixel_extents(ink, logical);
    // The last line's baseline sits at the offset from the bottom, so a second line grows upwards.
    auto lines = layout->get_iter();
    int lastBaseline = lines.get_baseline();
    while (lines.next_line()) {
        lastBaseline = lines.get_baseline();
    }
    const double baselineY = height - parameters_.messageLabelBaselineOffsetFromBottomOfBezel;
    const double messageTop = baselineY - static_cast<double>(lastBaseline) / PANGO_SCALE;
    const double messageX = width / 2 - (logical.get_x() + logical.get_width() / 2.0);

    const Color& label = parameters_.messageLabelColor;
    cr->set_source_rgba(label.red, label.green, label.blue, label.alpha * MESSAGE_ALPHA);
    cr->move_to(messageX, messageTop);
    layout->show_in_cairo_context(cr);

    drawIcon(cr, messageTop + logical.get_y());
    return true;
}

void BezelContentView::drawIcon(const Cairo::RefPtr<Cairo::Context>& cr, double messageTop) {
    if (!iconSurface_) {
        return;
    }
    const BezelGeometry::Size natural{double(iconSurface_->get_width()),
                                      double(iconSurface_->get_height())};
    const auto fitted = BezelGeometry::fittedIconSize(natural);
    const Rect place = BezelGeometry::iconRect(fitted, messageTop, parameters_.size);
    cr->save();
    cr->translate(place.x, place.y);
    cr->scale(fitted.width / natural.width, fitted.height / natural.height);
    cr->set_source(iconSurface_, 0, 0);
    auto pattern = cr->get_source();
    Cairo::RefPtr<Cairo::SurfacePattern>::cast_dynamic(pattern)->set_filter(Cairo::FILTER_BEST);
    cr->set_operator(Cairo::OPERATOR_OVER);
    cr->paint();
    cr->restore();
}

} // namespace lumeris
