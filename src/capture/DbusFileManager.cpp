#include "capture/DbusFileManager.h"

#include "base/Logger.h"

#include <gio/gio.h>
#include <memory>
#include <string>

namespace lumeris {

namespace {

struct GFreeDeleter {
    void operator()(gchar* text) const { g_free(text); }
};
struct GErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GVariantDeleter {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};

void openWithDefaultHandler(const std::string& uri) {
    GError* raw = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &raw)) {
        std::unique_ptr<GError, GErrorDeleter> error(raw);
        LOG_ERROR("cannot open {}: {}", uri, error ? error->message : "unknown error");
    }
}

// Runs on the main loop's thread when the bus answers; owns the address it is given.
void onShowItemsAnswered(GObject* bus, GAsyncResult* result, gpointer data) {
    std::unique_ptr<std::string> uri(static_cast<std::string*>(data));
    GError* raw = nullptr;
    std::unique_ptr<GVariant, GVariantDeleter> reply(
        g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &raw));
    std::unique_ptr<GError, GErrorDeleter> error(raw);
    if (!reply) {
        LOG_DEBUG("file manager did not answer ({}); opening the folder instead",
                  error ? error->message : "unknown error");
        openWithDefaultHandler(*uri);
    }
}

} // namespace

void DbusFileManager::showItem(const std::filesystem::path& path) {
    std::unique_ptr<gchar, GFreeDeleter> uri(g_filename_to_uri(path.c_str(), nullptr, nullptr));
    if (!uri) {
        LOG_ERROR("cannot reveal {}: not an absolute path", path.string());
        return;
    }
    GError* raw = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &raw);
    std::unique_ptr<GError, GErrorDeleter> error(raw);
    if (bus == nullptr) {
        openWithDefaultHandler(uri.get());
        return;
    }
    const gchar* items[] = {uri.get(), nullptr};
    g_dbus_connection_call(bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                           "org.freedesktop.FileManager1", "ShowItems",
                           g_variant_new("(^ass)", items, ""), nullptr, G_DBUS_CALL_FLAGS_NONE,
                           5000, nullptr, onShowItemsAnswered, new std::string(uri.get()));
    g_object_unref(bus);
}

} // namespace lumeris
