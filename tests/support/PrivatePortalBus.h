#pragma once

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "capture/PortalCaptureTool.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <string>

namespace lumeris::testing {

// The object path of the portal's request or session `token` for the unique name `sender`.
inline std::string portalPath(const char* kind, const char* sender, const std::string& token) {
    std::string element = sender + 1;
    for (char& c : element) {
        c = c == '.' ? '_' : c;
    }
    return std::string("/org/freedesktop/portal/desktop/") + kind + "/" + element + "/" + token;
}

// A session bus of the test's own, with a client connection to it, for fake desktop portals.
class PrivatePortalBus : public ::testing::Test {
protected:
    void SetUp() override {
        bus_ = g_test_dbus_new(G_TEST_DBUS_NONE);
        g_test_dbus_up(bus_);
        client = connect();
        ASSERT_TRUE(client);
    }
    void TearDown() override {
        client.reset();
        g_test_dbus_down(bus_);
        g_object_unref(bus_);
    }

    GObjectPtr<GDBusConnection> connect() const {
        return GObjectPtr<GDBusConnection>(g_dbus_connection_new_for_address_sync(
            g_test_dbus_get_bus_address(bus_),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr));
    }

    // A connection serving the portal's first interface in `introspection` through `vtable`
    // (kept by the caller) at the portal's name and path.
    GObjectPtr<GDBusConnection> servePortal(const char* introspection,
                                            const GDBusInterfaceVTable* vtable, void* data) const {
        auto connection = connect();
        GDBusNodeInfo* info = g_dbus_node_info_new_for_xml(introspection, nullptr);
        g_dbus_connection_register_object(connection.get(), PortalCaptureTool::OBJECT_PATH,
                                          info->interfaces[0], vtable, data, nullptr, nullptr);
        g_dbus_node_info_unref(info);
        GVariant* reply = g_dbus_connection_call_sync(
            connection.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
            "org.freedesktop.DBus", "RequestName",
            g_variant_new("(su)", PortalCaptureTool::BUS_NAME, 0U), nullptr, G_DBUS_CALL_FLAGS_NONE,
            -1, nullptr, nullptr);
        EXPECT_NE(reply, nullptr);
        if (reply != nullptr) {
            g_variant_unref(reply);
        }
        return connection;
    }

    GObjectPtr<GDBusConnection> client;

private:
    GTestDBus* bus_ = nullptr;
};

} // namespace lumeris::testing
