#include "editor/gtk/ToolbarPictures.h"

#include "capture/CustomBackgroundCache.h"
#include "render/BackgroundCatalogue.h"
#include "render/BackgroundPictures.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <cmath>
#include <gdkmm/general.h>
#include <gdkmm/pixbuf.h>
#include <gdkmm/rgba.h>
#include <map>
#include <numbers>
#include <pangomm/layout.h>

namespace lumeris {

namespace {

using Context = Cairo::RefPtr<Cairo::Context>;

Cairo::RefPtr<Cairo::ImageSurface> blank(int size, int scale) {
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, size * scale, size * scale);
    cairo_surface_set_device_scale(surface->cobj(), scale, scale);
    return surface;
}

void roundedRectangle(const Context& cr, double size, double radius) {
    constexpr double QUARTER = std::numbers::pi / 2;
    cr->begin_new_sub_path();
    cr->arc(size - radius, radius, radius, -QUARTER, 0);
    cr->arc(size - radius, size - radius, radius, 0, QUARTER);
    cr->arc(radius, size - radius, radius, QUARTER, 2 * QUARTER);
    cr->arc(radius, radius, radius, 2 * QUARTER, 3 * QUARTER);
    cr->close_path();
}

Gdk::RGBA colour(std::string_view text) {
    Gdk::RGBA rgba;
    if (!rgba.set(std::string(text))) {
        rgba.set_rgba(1, 1, 1);
    }
    return rgba;
}

// A CSS linear gradient over the square: the line runs through the centre along the angle and
// is as long as the square's projection on it.
void fillGradient(const Context& cr, double size, double angleDegrees,
                  const std::vector<std::string_view>& colours) {
    const double angle = angleDegrees * std::numbers::pi / 180;
    const double dx = std::sin(angle);
    const double dy = -std::cos(angle);
    const double half = (std::abs(size * dx) + std::abs(size * dy)) / 2;
    const double centre = size / 2;
    auto gradient = Cairo::LinearGradient::create(centre - dx * half, centre - dy * half,
                                                  centre + dx * half, centre + dy * half);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const Gdk::RGBA stop = colour(colours[i]);
        const double offset = colours.size() > 1
                                  ? static_cast<double>(i) / static_cast<double>(colours.size() - 1)
                                  : 0;
        gradient->add_color_stop_rgb(offset, stop.get_red(), stop.get_green(), stop.get_blue());
    }
    cr->set_source(gradient);
    cr->paint();
}

// Scaled to cover the square, centred.
void fillPicture(const Context& cr, double size, const Glib::RefPtr<Gdk::Pixbuf>& picture) {
    const double factor = size / std::min(picture->get_width(), picture->get_height());
    cr->save();
    cr->translate((size - picture->get_width() * factor) / 2,
                  (size - picture->get_height() * factor) / 2);
    cr->scale(factor, factor);
    Gdk::Cairo::set_source_pixbuf(cr, picture, 0, 0);
    cairo_pattern_set_filter(cr->get_source()->cobj(), CAIRO_FILTER_GOOD);
    cr->paint();
    cr->restore();
}

void fillCheckerboard(const Context& cr, double size) {
    constexpr double SQUARE = 6;
    cr->set_source_rgb(0.93, 0.93, 0.93);
    cr->paint();
    cr->set_source_rgb(0.78, 0.78, 0.78);
    for (int row = 0; row * SQUARE < size; ++row) {
        for (int column = row % 2; column * SQUARE < size; column += 2) {
            cr->rectangle(column * SQUARE, row * SQUARE, SQUARE, SQUARE);
        }
    }
    cr->fill();
}

// A picture loaded small enough to draw quickly but large enough for the densest display.
Glib::RefPtr<Gdk::Pixbuf> loadSmall(const std::string& file, int pixels) {
    try {
        return Gdk::Pixbuf::create_from_file(file, pixels * 3, pixels * 3, true);
    } catch (const Glib::Error&) {
        return {};
    }
}

// The built-in pictures never change while the program runs.
Glib::RefPtr<Gdk::Pixbuf> builtInPicture(const std::string& name, int pixels) {
    static std::map<std::pair<std::string, int>, Glib::RefPtr<Gdk::Pixbuf>> loaded;
    auto [found, inserted] = loaded.try_emplace({name, pixels});
    if (inserted) {
        const auto folder = BackgroundPictures::shared().folder();
        for (const char* extension : {".jpg", ".png"}) {
            if ((found->second = loadSmall((folder / (name + extension)).string(), pixels))) {
                break;
            }
        }
    }
    return found->second;
}

void fillCustom(const Context& cr, double size, const SettingsStore& settings, int pixels) {
    const std::string option = settings.string(SettingKeys::BG_COLOR_OPTION, "plain");
    if (option == "gradient") {
        fillGradient(cr, size, 50,
                     {settings.string(SettingKeys::BG_COLOR_GRADIENT_START, "#ffffff"),
                      settings.string(SettingKeys::BG_COLOR_GRADIENT_STOP, "#ffffff")});
        return;
    }
    if (option == "file") {
        if (auto file = CustomBackgroundCache::getCachedCustomBackgroundPath(settings)) {
            if (auto picture = loadSmall(file->string(), pixels)) {
                fillPicture(cr, size, picture);
                return;
            }
        }
    }
    const Gdk::RGBA plain = colour(settings.string(SettingKeys::BG_COLOR_PLAIN, "#ffffff"));
    cr->set_source_rgb(plain.get_red(), plain.get_green(), plain.get_blue());
    cr->paint();
}

template <typename Fill> Cairo::RefPtr<Cairo::ImageSurface> thumbnail(int scale, Fill fill) {
    constexpr double SIZE = ToolbarPictures::THUMBNAIL_SIZE;
    auto surface = blank(ToolbarPictures::THUMBNAIL_SIZE, scale);
    auto cr = Cairo::Context::create(surface);
    cr->save();
    roundedRectangle(cr, SIZE, SIZE * 0.1);
    cr->clip();
    fill(cr, SIZE);
    cr->restore();
    roundedRectangle(cr, SIZE, SIZE * 0.1);
    // A hairline keeps light thumbnails apart from a light toolbar.
    cr->set_source_rgba(0, 0, 0, 0.12);
    cr->set_line_width(1);
    cr->stroke();
    return surface;
}

} // namespace

Cairo::RefPtr<Cairo::ImageSurface>
ToolbarPictures::backgroundThumbnail(const std::string& id, const SettingsStore& settings,
                                     int scale) {
    const int pixels = THUMBNAIL_SIZE * scale;
    return thumbnail(scale, [&](const Context& cr, double size) {
        if (id == "custom") {
            fillCustom(cr, size, settings, pixels);
        } else if (auto gradient = BackgroundCatalogue::gradient(id)) {
            fillGradient(cr, size, gradient->angleDegrees, gradient->colours);
        } else if (auto picture = builtInPicture(id, pixels)) {
            fillPicture(cr, size, picture);
        } else {
            fillCheckerboard(cr, size);
        }
    });
}

Cairo::RefPtr<Cairo::ImageSurface> ToolbarPictures::desktopThumbnail(const RgbaImage& picture,
                                                                     int scale) {
    return thumbnail(scale, [&](const Context& cr, double size) {
        if (picture.empty()) {
            fillCheckerboard(cr, size);
            return;
        }
        // Shrunk before drawing: Cairo's filter samples too few pixels of a large picture.
        auto full =
            Gdk::Pixbuf::create_from_data(picture.pixels.data(), Gdk::COLORSPACE_RGB, true, 8,
                                          picture.width, picture.height, picture.width * 4);
        const double factor = static_cast<double>(THUMBNAIL_SIZE * scale * 2) /
                              std::min(picture.width, picture.height);
        auto small =
            factor < 1 ? full->scale_simple(std::max(1, static_cast<int>(picture.width * factor)),
                                            std::max(1, static_cast<int>(picture.height * factor)),
                                            Gdk::INTERP_BILINEAR)
                       : full->copy();
        fillPicture(cr, size, small);
    });
}

Cairo::RefPtr<Cairo::ImageSurface> ToolbarPictures::platformBadge(const std::string& platform,
                                                                  int scale) {
    struct Badge {
        const char* platform;
        const char* background;
        const char* letter;
        const char* ink;
    };
    static constexpr Badge BADGES[] = {
        {"twitter", "#000000", "X", "#ffffff"},   {"facebook", "#1877F2", "f", "#ffffff"},
        {"instagram", "#C13584", "◎", "#ffffff"}, {"linkedin", "#0A66C2", "in", "#ffffff"},
        {"youtube", "#FF0000", "▶", "#ffffff"},   {"pinterest", "#E60023", "P", "#ffffff"},
        {"reddit", "#FF4500", "r", "#ffffff"},    {"snapchat", "#FFFC00", "S", "#1a1a1a"},
    };
    const Badge* badge = &BADGES[0];
    for (const Badge& candidate : BADGES) {
        if (platform == candidate.platform) {
            badge = &candidate;
        }
    }
    constexpr double SIZE = BADGE_SIZE;
    auto surface = blank(BADGE_SIZE, scale);
    auto cr = Cairo::Context::create(surface);
    roundedRectangle(cr, SIZE, SIZE * 0.22);
    const Gdk::RGBA fill = colour(badge->background);
    cr->set_source_rgb(fill.get_red(), fill.get_green(), fill.get_blue());
    cr->fill();

    auto layout = Pango::Layout::create(cr);
    layout->set_font_description(Pango::FontDescription("Sans Bold 10"));
    layout->set_text(badge->letter);
    int width = 0;
    int height = 0;
    layout->get_pixel_size(width, height);
    const Gdk::RGBA ink = colour(badge->ink);
    cr->set_source_rgb(ink.get_red(), ink.get_green(), ink.get_blue());
    cr->move_to((SIZE - width) / 2, (SIZE - height) / 2);
    layout->show_in_cairo_context(cr);
    return surface;
}

} // namespace lumeris
