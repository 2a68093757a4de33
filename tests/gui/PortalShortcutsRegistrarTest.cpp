#include "platform/PortalShortcutsRegistrar.h"

#include "TemporaryFolder.h"
#include "app/HotkeyController.h"
#include "base/GLibHandles.h"
#include "capture/PortalCaptureTool.h"
#include "render/gtk/MainLoopWait.h"
#include "settings/SettingsStore.h"
#include "support/PrivatePortalBus.h"

#include <gtest/gtest.h>

using namespace lumeris;
using Binding = HotkeyController::Binding;
using Hotkey = HotkeyController::Hotkey;

namespace {

using GVariantPtr = GHandle<GVariant, g_variant_unref>;

constexpr const char* INTROSPECTION = R"xml(<node>
  <interface name="org.freedesktop.portal.GlobalShortcuts">
    <method name="CreateSession">
      <arg type="a{sv}" direction="in"/><arg type="o" direction="out"/>
    </method>
    <method name="BindShortcuts">
      <arg type="o" direction="in"/><arg type="a(sa{sv})" direction="in"/>
      <arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
      <arg type="o" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
</node>)xml";

// org.freedesktop.portal.GlobalShortcuts on a private bus, as a desktop that binds the keys it
// is asked for (answering `bindResponse`) and describes them with `descriptions`.
struct FakeShortcutsPortal {
    GObjectPtr<GDBusConnection> connection;
    guint32 bindResponse = 0;
    std::map<std::string, std::string> descriptions;
    int sessions = 0;
    std::string session;
    // Per bound id: its description and preferred trigger.
    std::map<std::string, std::pair<std::string, std::string>> bound;

    static void call(GDBusConnection* connection, const gchar* sender, const gchar*, const gchar*,
                     const gchar* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                     gpointer data) {
        auto* portal = static_cast<FakeShortcutsPortal*>(data);
        const bool create = g_strcmp0(method, "CreateSession") == 0;
        GVariantPtr options(g_variant_get_child_value(parameters, create ? 0 : 3));
        const char* token = "";
        g_variant_lookup(options.get(), "handle_token", "&s", &token);
        const std::string request = lumeris::testing::portalPath("request", sender, token);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", request.c_str()));
        GVariantBuilder results;
        g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
        guint32 response = 0;
        if (create) {
            const char* sessionToken = "";
            g_variant_lookup(options.get(), "session_handle_token", "&s", &sessionToken);
            portal->session = lumeris::testing::portalPath("session", sender, sessionToken);
            ++portal->sessions;
            g_variant_builder_add(&results, "{sv}", "session_handle",
                                  g_variant_new_string(portal->session.c_str()));
        } else {
            portal->bind(parameters, &results);
            response = portal->bindResponse;
        }
        g_dbus_connection_emit_signal(connection, sender, request.c_str(),
                                      "org.freedesktop.portal.Request", "Response",
                                      g_variant_new("(ua{sv})", response, &results), nullptr);
    }

    void bind(GVariant* parameters, GVariantBuilder* results) {
        const char* boundSession = "";
        g_variant_get_child(parameters, 0, "&o", &boundSession);
        EXPECT_EQ(boundSession, session);
        bound.clear();
        GVariantPtr shortcuts(g_variant_get_child_value(parameters, 1));
        GVariantIter iterator;
        g_variant_iter_init(&iterator, shortcuts.get());
        const char* id = nullptr;
        GVariant* properties = nullptr;
        while (g_variant_iter_next(&iterator, "(&s@a{sv})", &id, &properties)) {
            GVariantPtr owned(properties);
            const char* description = "";
            const char* preferred = "";
            g_variant_lookup(properties, "description", "&s", &description);
            g_variant_lookup(properties, "preferred_trigger", "&s", &preferred);
            bound[id] = {description, preferred};
        }
        if (bindResponse == 0) {
            g_variant_builder_add(results, "{sv}", "shortcuts", described());
        }
    }

    // The bound shortcuts as the desktop reports them.
    GVariant* described() const {
        GVariantBuilder list;
        g_variant_builder_init(&list, G_VARIANT_TYPE("a(sa{sv})"));
        for (const auto& [id, what] : bound) {
            GVariantBuilder properties;
            g_variant_builder_init(&properties, G_VARIANT_TYPE_VARDICT);
            g_variant_builder_add(&properties, "{sv}", "description",
                                  g_variant_new_string(what.first.c_str()));
            if (auto trigger = descriptions.find(id); trigger != descriptions.end()) {
                g_variant_builder_add(&properties, "{sv}", "trigger_description",
                                      g_variant_new_string(trigger->second.c_str()));
            }
            g_variant_builder_add(&list, "(sa{sv})", id.c_str(), &properties);
        }
        return g_variant_builder_end(&list);
    }

    static GVariant* property(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                              const gchar*, GError**, gpointer) {
        return g_variant_new_uint32(1);
    }

    void emit(const char* signal, GVariant* parameters) {
        g_dbus_connection_emit_signal(connection.get(), nullptr, PortalCaptureTool::OBJECT_PATH,
                                      PortalShortcutsRegistrar::INTERFACE, signal, parameters,
                                      nullptr);
    }

    void activate(const std::string& inSession, const char* id) {
        emit("Activated", g_variant_new("(osta{sv})", inSession.c_str(), id, guint64{0}, nullptr));
    }
};

class PortalShortcutsRegistrarTest : public lumeris::testing::PrivatePortalBus {
protected:
    void TearDown() override {
        controller.reset();
        registrar.reset();
        portal.connection.reset();
        PrivatePortalBus::TearDown();
    }

    void startPortal() {
        static const GDBusInterfaceVTable vtable{
            &FakeShortcutsPortal::call, &FakeShortcutsPortal::property, nullptr, {}};
        portal.connection = servePortal(INTROSPECTION, &vtable, &portal);
    }

    // The shell's controller on a registrar of the test bus, its keys set up.
    void setUpKeys() {
        registrar = PortalShortcutsRegistrar::create(client);
        controller = std::make_unique<HotkeyController>(
            settings, *registrar, [this](bool copy) { captures.push_back(copy); });
        EXPECT_TRUE(controller->setupHotkey().empty());
    }

    // Runs the main loop until `done`; a generous deadline turns a hang into a failure.
    static bool waitFor(const std::function<bool()>& done) {
        return MainLoopWait::runUntil(done, std::chrono::seconds(60));
    }

    // Waits until the portal has handled whatever the registrar sent it after the idle bind.
    void settle() {
        struct Ping {
            GDBusConnection* client = nullptr;
            bool answered = false;
        } ping{client.get()};
        g_idle_add_full(
            G_PRIORITY_LOW,
            [](gpointer data) {
                auto* ping = static_cast<Ping*>(data);
                g_dbus_connection_call(
                    ping->client, PortalCaptureTool::BUS_NAME, PortalCaptureTool::OBJECT_PATH,
                    "org.freedesktop.DBus.Properties", "Get",
                    g_variant_new("(ss)", PortalShortcutsRegistrar::INTERFACE, "version"), nullptr,
                    G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
                    [](GObject* source, GAsyncResult* result, gpointer data) {
                        GVariantPtr reply(g_dbus_connection_call_finish(G_DBUS_CONNECTION(source),
                                                                        result, nullptr));
                        static_cast<Ping*>(data)->answered = true;
                    },
                    ping);
                return G_SOURCE_REMOVE;
            },
            &ping, nullptr);
        ASSERT_TRUE(waitFor([&] { return ping.answered; }));
    }

    FakeShortcutsPortal portal;
    TemporaryFolder folder;
    SettingsStore settings{folder / "settings.json", SettingsStore::Persistence::InMemory};
    std::shared_ptr<PortalShortcutsRegistrar> registrar;
    std::unique_ptr<HotkeyController> controller;
    std::vector<bool> captures;
};

} // namespace

TEST_F(PortalShortcutsRegistrarTest, BindsBothKeysRunsTheirActionsAndFollowsChanges) {
    startPortal();
    // The user keeps the capture key and leaves the copy key without one.
    portal.descriptions = {{"capture", "Ctrl+Alt+Meta+4"}};
    setUpKeys();
    EXPECT_EQ(controller->binding(), Binding::Asking);
    ASSERT_TRUE(waitFor([&] { return controller->binding() == Binding::ByDesktop; }));
    EXPECT_EQ(portal.sessions, 1);
    ASSERT_EQ(portal.bound.size(), 2u);
    EXPECT_EQ(portal.bound["capture"].second, "CTRL+ALT+LOGO+4");
    EXPECT_EQ(portal.bound["capture-copy"].second, "CTRL+ALT+LOGO+5");
    EXPECT_FALSE(portal.bound["capture"].first.empty());
    EXPECT_NE(portal.bound["capture"].first, portal.bound["capture-copy"].first);
    EXPECT_EQ(controller->desktopTrigger(Hotkey::Capture), "Ctrl+Alt+Meta+4");
    EXPECT_EQ(controller->desktopTrigger(Hotkey::CaptureAndCopy), std::nullopt);
    EXPECT_EQ(controller->captureMenuTitle(), "Take Screenshot (Ctrl+Alt+Meta+4)");

    // Another application's session is not ours; signals arrive in order.
    portal.activate("/org/freedesktop/portal/desktop/session/other/s", "capture");
    portal.activate(portal.session, "capture-copy");
    portal.activate(portal.session, "capture");
    ASSERT_TRUE(waitFor([&] { return captures.size() >= 2; }));
    EXPECT_EQ(captures, (std::vector<bool>{true, false}));

    // Changed in the desktop's settings: the capture key taken away, the copy key given one.
    portal.descriptions = {{"capture-copy", "Meta+Shift+Print"}};
    portal.emit("ShortcutsChanged",
                g_variant_new("(o@a(sa{sv}))", portal.session.c_str(), portal.described()));
    ASSERT_TRUE(
        waitFor([&] { return controller->desktopTrigger(Hotkey::CaptureAndCopy).has_value(); }));
    EXPECT_EQ(controller->desktopTrigger(Hotkey::Capture), std::nullopt);
    EXPECT_EQ(controller->captureMenuTitle(), "Take Screenshot");

    // Set up again unchanged, the session stays.
    controller->setupHotkey();
    settle();
    EXPECT_EQ(portal.sessions, 1);
}

TEST_F(PortalShortcutsRegistrarTest, ARefusalIsReportedAndAskingAgainStartsANewSession) {
    startPortal();
    // 1: the user declined in the desktop's dialog; 2: the desktop failed.
    for (guint32 response : {1u, 2u}) {
        SCOPED_TRACE(response);
        portal.bindResponse = response;
        const int sessions = portal.sessions;
        setUpKeys();
        ASSERT_TRUE(waitFor([&] { return controller->binding() == Binding::Refused; }));
        EXPECT_EQ(controller->desktopTrigger(Hotkey::Capture), std::nullopt);
        EXPECT_EQ(controller->captureMenuTitle(), "Take Screenshot (Ctrl+Alt+Super+4)");
        portal.bindResponse = 0;
        controller->setupHotkey();
        ASSERT_TRUE(waitFor([&] { return controller->binding() == Binding::ByDesktop; }));
        EXPECT_EQ(portal.sessions, sessions + 2);
        EXPECT_EQ(portal.bound.size(), 2u);
    }
}

TEST_F(PortalShortcutsRegistrarTest, WithoutThePortalTheKeysAreUnsupported) {
    setUpKeys();
    ASSERT_TRUE(waitFor([&] { return controller->binding() == Binding::Unsupported; }));
    EXPECT_FALSE(registrar->supported());
    EXPECT_EQ(controller->captureMenuTitle(), "Take Screenshot (Ctrl+Alt+Super+4)");
}

TEST(PortalShortcutsTrigger, NamesModifiersAndKeysAsThePortalDoes) {
    const struct {
        Shortcut shortcut;
        const char* trigger = "";
    } cases[] = {
        {Shortcut::defaultCapture(), "CTRL+ALT+LOGO+4"},
        {{'p', Shortcut::SHIFT_MASK | Shortcut::CONTROL_MASK, "P", "p"}, "CTRL+SHIFT+p"},
        {{0xff61, Shortcut::SUPER_MASK, "", ""}, "LOGO+Print"},
        {{0xffc9, 0, "", ""}, "F12"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(PortalShortcutsRegistrar::trigger(test.shortcut), test.trigger);
    }
}
