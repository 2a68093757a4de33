#include "capture/DbusFileManager.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"

#include <gio/gio.h>
#include <memory>
#include <string>

namespace lumeris {

namespace {

void openWithDefaultHandler(const std::string& uri) {
    GErrorPtr error;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, GErrorOut(error))) {
        LOG_ERROR("cannot open {}: {}", uri, error ? error->message : "unknown error");
    }
}

// Runs on the main loop's thread when the bus answers; owns the address it is given.
void onShowItemsAnswered(GObject* bus, GAsyncResult* result, gpointer data) {
    std::unique_ptr<std::string> uri(static_cast<std::string*>(data));
    GErrorPtr error;
    GHandle<GVariant, g_variant_unref> reply(
        g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, GErrorOut(error)));
    if (!reply) {
        LOG_DEBUG("file manager did not answer ({}); opening the folder instead",
                  error ? error->message : "unknown error");
        openWithDefaultHandler(*uri);
    }
}

} // namespace

void DbusFileManager::showItem(const std::filesystem::path& path) {
    GCharPtr uri(g_filename_to_uri(path.c_str(), nullptr, nullptr));
    if (!uri) {
        LOG_ERROR("cannot reveal {}: not an absolute path", path.string());
        return;
    }
    GErrorPtr error;
    GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, GErrorOut(error)));
    if (!bus) {
        openWithDefaultHandler(uri.get());
        return;
    }
    const gchar* items[] = {uri.get(), nullptr};
    g_dbus_connection_call(
        bus.get(), "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
        "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", items, ""), nullptr,
        G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, onShowItemsAnswered, new std::string(uri.get()));
}

} // namespace lumeris
