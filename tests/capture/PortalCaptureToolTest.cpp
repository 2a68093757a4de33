#include "capture/PortalCaptureTool.h"

#include "TemporaryFolder.h"
#include "base/GLibHandles.h"
#include "support/PrivatePortalBus.h"

#include <fstream>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <optional>

using namespace lumeris;
namespace fs = std::filesystem;

namespace {

constexpr const char* INTROSPECTION = R"(<node>
  <interface name="org.freedesktop.portal.Screenshot">
    <method name="Screenshot">
      <arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
      <arg type="o" direction="out"/>
    </method>
  </interface>
</node>)";

// org.freedesktop.portal.Desktop on a private bus: answers every Screenshot request with
// `response`, naming `picture` as the result.
struct FakePortal {
    GObjectPtr<GDBusConnection> connection;
    guint32 response = 0;
    std::string pictureUri;
    bool interactive = false;

    static void call(GDBusConnection* connection, const gchar* sender, const gchar*, const gchar*,
                     const gchar*, GVariant* parameters, GDBusMethodInvocation* invocation,
                     gpointer data) {
        auto* portal = static_cast<FakePortal*>(data);
        GVariant* options = g_variant_get_child_value(parameters, 1);
        const char* token = "";
        g_variant_lookup(options, "handle_token", "&s", &token);
        gboolean interactive = FALSE;
        g_variant_lookup(options, "interactive", "b", &interactive);
        portal->interactive = interactive;
        const std::string path = lumeris::testing::portalPath("request", sender, token);
        g_variant_unref(options);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", path.c_str()));
        GVariantBuilder results;
        g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
        g_variant_builder_add(&results, "{sv}", "uri",
                              g_variant_new_string(portal->pictureUri.c_str()));
        g_dbus_connection_emit_signal(
            connection, sender, path.c_str(), "org.freedesktop.portal.Request", "Response",
            g_variant_new("(ua{sv})", portal->response, &results), nullptr);
    }
};

class PortalCaptureToolTest : public lumeris::testing::PrivatePortalBus {
protected:
    void TearDown() override {
        portal.connection.reset();
        PrivatePortalBus::TearDown();
    }

    void startPortal() {
        static const GDBusInterfaceVTable vtable{&FakePortal::call, nullptr, nullptr, {}};
        portal.connection = servePortal(INTROSPECTION, &vtable, &portal);
    }

    std::optional<CaptureOutcome> capture(const fs::path& output) {
        auto tool = std::make_shared<PortalCaptureTool>(client);
        std::optional<CaptureOutcome> outcome;
        tool->capture(false, output, [&](CaptureOutcome ended) { outcome = ended; });
        while (!outcome) {
            g_main_context_iteration(nullptr, TRUE);
        }
        return outcome;
    }

    FakePortal portal;
    TemporaryFolder folder;
};

} // namespace

TEST_F(PortalCaptureToolTest, AnswersZeroOneAndTwoAndAMissingPortal) {
    EXPECT_EQ(capture(folder / "none.png"), CaptureOutcome::Unavailable) << "no portal on the bus";
    startPortal();
    const struct {
        guint32 response;
        CaptureOutcome outcome;
    } cases[] = {
        {0, CaptureOutcome::Captured},
        {1, CaptureOutcome::Cancelled},
        {2, CaptureOutcome::Unavailable},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.response);
        const fs::path saved = folder / ("Screenshot-" + std::to_string(test.response) + ".png");
        std::ofstream(saved) << "picture";
        GCharPtr uri(g_filename_to_uri(saved.c_str(), nullptr, nullptr));
        portal.pictureUri = uri.get();
        portal.response = test.response;
        const fs::path output = folder / ("capture-" + std::to_string(test.response) + ".png");
        EXPECT_EQ(capture(output), test.outcome);
        EXPECT_TRUE(portal.interactive);
        // Only an accepted capture is taken from where the portal saved it.
        EXPECT_EQ(fs::exists(output), test.response == 0);
        EXPECT_EQ(fs::exists(saved), test.response != 0);
    }
}
