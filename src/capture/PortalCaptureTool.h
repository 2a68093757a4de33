#pragma once

#include "base/GObjectPtr.h"
#include "capture/CaptureTool.h"

#include <gio/gio.h>
#include <memory>
#include <string>

namespace lumeris {

// The desktop portal's interactive Screenshot request (org.freedesktop.portal.Screenshot): the
// portal answers with a Response signal on a request object; the file it names is moved to the
// output path. Response 1 is a cancelled selection, 2 (or a portal that does not answer the
// call) leaves the capture to the next tool.
class PortalCaptureTool : public CaptureTool,
                          public std::enable_shared_from_this<PortalCaptureTool> {
public:
    static constexpr const char* BUS_NAME = "org.freedesktop.portal.Desktop";
    static constexpr const char* OBJECT_PATH = "/org/freedesktop/portal/desktop";
    static constexpr const char* INTERFACE = "org.freedesktop.portal.Screenshot";

    // On the given bus (the session bus, or a test bus).
    explicit PortalCaptureTool(GObjectPtr<GDBusConnection> connection);
    ~PortalCaptureTool() override;
    PortalCaptureTool(const PortalCaptureTool&) = delete;
    PortalCaptureTool& operator=(const PortalCaptureTool&) = delete;

    void capture(bool onlyWindow, const std::filesystem::path& output, Done done) override;

    // The request object the portal creates for a call carrying this handle token; its Response
    // signal is subscribed to before the call, so that a quick answer is not missed.
    static std::string requestPath(GDBusConnection* connection, const std::string& token);

private:
    struct Pending;
    static void called(GObject* source, GAsyncResult* result, gpointer data);
    static void responded(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                          GVariant* parameters, gpointer data);
    void finish(CaptureOutcome outcome);

    GObjectPtr<GDBusConnection> connection_;
    std::unique_ptr<Pending> pending_;
    unsigned requests_ = 0;
};

} // namespace lumeris
