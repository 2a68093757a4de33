#pragma once

#include <gtkmm/builder.h>
#include <stdexcept>
#include <string>

namespace lumeris {

// Loads the GtkBuilder file resources/ui/<name>.ui.
class InterfaceFile {
public:
    // Nothing (and a logged error) when the file is missing or does not parse.
    static Glib::RefPtr<Gtk::Builder> load(const std::string& name);

    // gtkmm's wrappers must be registered before a builder hands out typed widgets; the program
    // may not have gone through Gtk::Application, so every entry point here makes sure.
    static void ensureGtkmm();

    // The widget `id` of `builder` as T; a logged error and nullptr when it is missing.
    template <typename T>
    static T* widget(const Glib::RefPtr<Gtk::Builder>& builder, const std::string& id) {
        T* found = nullptr;
        builder->get_widget(id, found);
        if (found == nullptr) {
            logMissing(id);
        }
        return found;
    }

    // The same for a widget a window cannot do without: throws std::runtime_error naming it, for
    // the window's factory to catch while it is being built.
    template <typename T>
    static T& required(const Glib::RefPtr<Gtk::Builder>& builder, const std::string& id) {
        T* found = widget<T>(builder, id);
        if (found == nullptr) {
            throw std::runtime_error("the interface file lacks " + id);
        }
        return *found;
    }

private:
    static void logMissing(const std::string& id);
};

} // namespace lumeris
