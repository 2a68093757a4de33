#include "base/Logger.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/main.h>

// GUI tests need GTK initialised on the main thread before any widget exists.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest discovers them this way) needs no display.
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "No display: run the gui tests under xvfb-run\n");
        return 1;
    }
    // gtkmm wrappers (bezels, dialogs) need their type table.
    Gtk::Main::init_gtkmm_internals();
    lumeris::Logger::setUp(std::nullopt);
    spdlog::set_level(spdlog::level::debug);
    return RUN_ALL_TESTS();
}
