// A status item host's watcher for tests: owns org.kde.StatusNotifierWatcher on the session bus,
// says a host is registered, and prints "SENDER OBJECT-PATH" for every item that registers, so a
// script can read the item's exported menu.
#include <cstdio>
#include <gio/gio.h>
#include <string>

namespace {

constexpr const char* INTERFACE_XML = R"(
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>)";

std::string registered;

void methodCall(GDBusConnection* connection, const gchar* sender, const gchar*, const gchar*,
                const gchar* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                gpointer) {
    if (g_strcmp0(method, "RegisterStatusNotifierItem") == 0) {
        const gchar* service = nullptr;
        g_variant_get(parameters, "(&s)", &service);
        // An item names either its object path (on the caller's connection) or a bus name.
        const bool path = service[0] == '/';
        std::printf("%s %s\n", path ? sender : service, path ? service : "/StatusNotifierItem");
        std::fflush(stdout);
        registered = std::string(sender) + (path ? service : "");
        g_dbus_connection_emit_signal(
            connection, nullptr, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
            "StatusNotifierItemRegistered", g_variant_new("(s)", registered.c_str()), nullptr);
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
}

GVariant* getProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                      GError**, gpointer) {
    if (g_strcmp0(name, "IsStatusNotifierHostRegistered") == 0) {
        return g_variant_new_boolean(TRUE);
    }
    if (g_strcmp0(name, "ProtocolVersion") == 0) {
        return g_variant_new_int32(0);
    }
    const gchar* items[] = {registered.c_str(), nullptr};
    return g_variant_new_strv(items, registered.empty() ? 0 : 1);
}

const GDBusInterfaceVTable VTABLE = {methodCall, getProperty, nullptr, {}};

} // namespace

int main() {
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(INTERFACE_XML, nullptr);
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    g_bus_own_name(
        G_BUS_TYPE_SESSION, "org.kde.StatusNotifierWatcher", G_BUS_NAME_OWNER_FLAGS_NONE,
        [](GDBusConnection* connection, const gchar*, gpointer data) {
            auto* info = static_cast<GDBusNodeInfo*>(data);
            g_dbus_connection_register_object(connection, "/StatusNotifierWatcher",
                                              info->interfaces[0], &VTABLE, nullptr, nullptr,
                                              nullptr);
        },
        nullptr, [](GDBusConnection*, const gchar*, gpointer) { std::exit(1); }, node, nullptr);
    g_main_loop_run(loop);
    return 0;
}
