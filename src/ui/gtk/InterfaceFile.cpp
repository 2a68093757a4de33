#include "ui/gtk/InterfaceFile.h"

#include "base/Logger.h"
#include "base/ResourceLocator.h"

#include <gtkmm/main.h>

namespace lumeris {

void InterfaceFile::ensureGtkmm() {
    Gtk::Main::init_gtkmm_internals();
}

Glib::RefPtr<Gtk::Builder> InterfaceFile::load(const std::string& name) {
    ensureGtkmm();
    auto path = ResourceLocator::resource("ui/" + name + ".ui");
    if (!path) {
        LOG_ERROR("Interface file {}.ui is missing from the resources", name);
        return {};
    }
    try {
        return Gtk::Builder::create_from_file(path->string());
    } catch (const Glib::Error& error) {
        LOG_ERROR("Interface file {} does not load: {}", path->string(), error.what().raw());
    }
    return {};
}

void InterfaceFile::logMissing(const std::string& id) {
    LOG_ERROR("Interface file lacks the widget '{}'", id);
}

} // namespace lumeris
