#pragma once

#include "ui/gtk/InterfaceFile.h"

#include <gtk/gtk.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/window.h>
#include <memory>

namespace lumeris::testing {

// A small window with two buttons to anchor popovers to.
struct PopoverTestWindow {
    PopoverTestWindow() {
        InterfaceFile::ensureGtkmm();
        // Popovers then open and close at once instead of after their transition.
        g_object_set(gtk_settings_get_default(), "gtk-enable-animations", FALSE, nullptr);
        window = std::make_unique<Gtk::Window>();
        window->set_default_size(360, 240);
        auto* box = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, 6);
        box->set_valign(Gtk::ALIGN_END);
        box->set_halign(Gtk::ALIGN_CENTER);
        box->set_margin_bottom(24);
        button = Gtk::make_managed<Gtk::Button>("Padding");
        other = Gtk::make_managed<Gtk::Button>("Inset");
        box->pack_start(*button);
        box->pack_start(*other);
        window->add(*box);
        window->show_all();
        flush();
    }

    // Runs what the main loop has pending (realisation, popover placement, transitions).
    static void flush() {
        for (int round = 0; round < 20; ++round) {
            while (gtk_events_pending()) {
                gtk_main_iteration();
            }
            g_usleep(5000);
        }
    }

    std::unique_ptr<Gtk::Window> window;
    Gtk::Button* button = nullptr;
    Gtk::Button* other = nullptr;
};

} // namespace lumeris::testing
