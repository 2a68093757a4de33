#pragma once

#include "ui/BezelParameters.h"

#include <cairomm/surface.h>
#include <gtkmm/drawingarea.h>

namespace lumeris {

// Draws a bezel: the rounded tinted square, the icon and the one-line message.
class BezelContentView : public Gtk::DrawingArea {
public:
    // The share of the tint painted when a compositor blends the bezel with what lies behind it;
    // it stands in for a blur material, which X11 has not got.
    static constexpr double TRANSLUCENT_TINT_ALPHA = 0.75;
    // The message is drawn a little dimmer than the label colour.
    static constexpr double MESSAGE_ALPHA = 0.8;

    explicit BezelContentView(BezelParameters parameters);

    const BezelParameters& parameters() const { return parameters_; }

protected:
    bool on_draw(const Cairo::RefPtr<Cairo::Context>& cr) override;

private:
    void drawIcon(const Cairo::RefPtr<Cairo::Context>& cr, double messageTop);

    BezelParameters parameters_;
    Cairo::RefPtr<Cairo::ImageSurface> iconSurface_;
};

} // namespace lumeris
