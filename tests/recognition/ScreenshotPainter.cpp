#include "ScreenshotPainter.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "render/SnapshotPixels.h"

#include <cmath>
#include <pango/pangocairo.h>

using namespace lumeris;

Screenshot Screenshot::paint(const std::vector<std::string>& lines, const ScreenshotStyle& style,
                             int pointWidth, int pointHeight) {
    Screenshot shot;
    shot.style_ = style;
    shot.pointWidth_ = pointWidth;
    shot.lines_ = lines;
    const int width = static_cast<int>(std::lround(pointWidth * style.scale));
    const int height = static_cast<int>(std::lround(pointHeight * style.scale));

    GHandle<cairo_surface_t, cairo_surface_destroy> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    GHandle<cairo_t, cairo_destroy> cr(cairo_create(surface.get()));
    const double background = style.dark ? 0.12 : 0.97;
    const double foreground = style.dark ? 0.88 : 0.10;
    cairo_set_source_rgb(cr.get(), background, background, background + 0.01);
    cairo_paint(cr.get());
    cairo_set_source_rgb(cr.get(), foreground, foreground, foreground);

    GObjectPtr<PangoLayout> layout(pango_cairo_create_layout(cr.get()));
    GHandle<PangoFontDescription, pango_font_description_free> font(
        pango_font_description_from_string(style.font.c_str()));
    pango_font_description_set_absolute_size(font.get(),
                                             style.pointSize * style.scale * PANGO_SCALE * 96 / 72);
    pango_layout_set_font_description(layout.get(), font.get());
    GHandle<PangoTabArray, pango_tab_array_free> tabs(pango_tab_array_new_with_positions(
        1, TRUE, PANGO_TAB_LEFT, static_cast<int>(260 * style.scale)));
    pango_layout_set_tabs(layout.get(), tabs.get());

    const double margin = 20 * style.scale;
    const double lineStep = 1.8 * style.pointSize * style.scale * 96 / 72;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double top = margin + i * lineStep;
        pango_layout_set_text(layout.get(), lines[i].c_str(), -1);
        cairo_move_to(cr.get(), margin, top);
        pango_cairo_show_layout(cr.get(), layout.get());
        std::vector<Rect> boxes;
        for (std::size_t index = 0; index <= lines[i].size(); ++index) {
            PangoRectangle pos;
            pango_layout_index_to_pos(layout.get(), static_cast<int>(index), &pos);
            boxes.push_back({margin + static_cast<double>(pos.x) / PANGO_SCALE,
                             top + static_cast<double>(pos.y) / PANGO_SCALE,
                             static_cast<double>(pos.width) / PANGO_SCALE,
                             static_cast<double>(pos.height) / PANGO_SCALE});
        }
        shot.glyphBoxes_.push_back(std::move(boxes));
    }
    cairo_surface_flush(surface.get());

    // Opaque, so the premultiplied pixels are the straight ones.
    shot.image_ = SnapshotPixels::fromPremultipliedArgb32(
        cairo_image_surface_get_data(surface.get()), width, height,
        cairo_image_surface_get_stride(surface.get()));
    return shot;
}

Rect Screenshot::boxOf(std::size_t line, const std::string& needle) const {
    const auto start = lines_.at(line).find(needle);
    if (start == std::string::npos) {
        return {};
    }
    const auto& boxes = glyphBoxes_.at(line);
    const Rect& first = boxes[start];
    const Rect& last = boxes[start + needle.size() - 1];
    const double right = last.x + last.width;
    return {first.x, first.y, right - first.x, first.height};
}

Rect Screenshot::toPixels(const Rect& points) const {
    const double s = style_.scale;
    return {points.x * s, image_.height - (points.y + points.height) * s, points.width * s,
            points.height * s};
}

bool Screenshot::isInk(int x, int y) const {
    const std::uint8_t* p = image_.at(x, y);
    const int background = style_.dark ? 31 : 247;
    return std::abs(p[0] - background) > 90;
}
