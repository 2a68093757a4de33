#include "capture/PortalCaptureTool.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"

namespace lumeris {

namespace fs = std::filesystem;

struct PortalCaptureTool::Pending {
    fs::path output;
    Done done;
    guint subscription = 0;
    std::weak_ptr<PortalCaptureTool> tool;
};

namespace {

using GVariantPtr = GHandle<GVariant, g_variant_unref>;

// The portal keeps its file where the desktop saves screenshots; ours go to the temporary path.
bool moveInto(const std::string& uri, const fs::path& output) {
    GObjectPtr<GFile> from(g_file_new_for_uri(uri.c_str()));
    GObjectPtr<GFile> to(g_file_new_for_path(output.c_str()));
    GErrorPtr error;
    if (!g_file_move(from.get(), to.get(), G_FILE_COPY_OVERWRITE, nullptr, nullptr, nullptr,
                     GErrorOut(error))) {
        LOG_ERROR("cannot move the portal's screenshot {}: {}", uri, error->message);
        return false;
    }
    return true;
}

} // namespace

// The sender's unique name without its colon and with dots as underscores.
std::string PortalCaptureTool::requestPath(GDBusConnection* connection, const std::string& token) {
    std::string sender = g_dbus_connection_get_unique_name(connection);
    sender.erase(0, 1);
    for (char& c : sender) {
        if (c == '.') {
            c = '_';
        }
    }
    return std::string("/org/freedesktop/portal/desktop/request/") + sender + "/" + token;
}

PortalCaptureTool::PortalCaptureTool(GObjectPtr<GDBusConnection> connection)
    : connection_(std::move(connection)) {}

PortalCaptureTool::~PortalCaptureTool() {
    if (pending_ && pending_->subscription != 0) {
        g_dbus_connection_signal_unsubscribe(connection_.get(), pending_->subscription);
    }
}

void PortalCaptureTool::capture(bool, const fs::path& output, Done done) {
    // One request at a time: the caller ignores a capture asked for while one runs.
    pending_ = std::make_unique<Pending>(Pending{output, std::move(done), 0, weak_from_this()});
    const std::string token = "lumeris" + std::to_string(++requests_);
    const std::string path = requestPath(connection_.get(), token);
    // Subscribed before the call, so that a quick answer is not missed.
    pending_->subscription = g_dbus_connection_signal_subscribe(
        connection_.get(), BUS_NAME, "org.freedesktop.portal.Request", "Response", path.c_str(),
        nullptr, G_DBUS_SIGNAL_FLAGS_NONE, &PortalCaptureTool::responded,
        new std::weak_ptr<PortalCaptureTool>(weak_from_this()),
        [](gpointer data) { delete static_cast<std::weak_ptr<PortalCaptureTool>*>(data); });
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "interactive", g_variant_new_boolean(TRUE));
    g_variant_builder_add(&options, "{sv}", "modal", g_variant_new_boolean(TRUE));
    g_dbus_connection_call(connection_.get(), BUS_NAME, OBJECT_PATH, INTERFACE, "Screenshot",
                           g_variant_new("(sa{sv})", "", &options), G_VARIANT_TYPE("(o)"),
                           G_DBUS_CALL_FLAGS_NONE, G_MAXINT, nullptr, &PortalCaptureTool::called,
                           new std::weak_ptr<PortalCaptureTool>(weak_from_this()));
}

// Main thread: the portal took the request (its Response comes later) or refused the call.
void PortalCaptureTool::called(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<std::weak_ptr<PortalCaptureTool>> weak(
        static_cast<std::weak_ptr<PortalCaptureTool>*>(data));
    GErrorPtr error;
    GVariantPtr reply(
        g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, GErrorOut(error)));
    auto self = weak->lock();
    if (!self || reply) {
        return;
    }
    LOG_DEBUG("no screenshot portal: {}", error->message);
    self->finish(CaptureOutcome::Unavailable);
}

// Main thread: the portal's answer on the request object.
void PortalCaptureTool::responded(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                  const gchar*, GVariant* parameters, gpointer data) {
    auto self = static_cast<std::weak_ptr<PortalCaptureTool>*>(data)->lock();
    if (!self || !self->pending_) {
        return;
    }
    guint32 response = 2;
    GVariant* results = nullptr;
    g_variant_get(parameters, "(u@a{sv})", &response, &results);
    GVariantPtr owned(results);
    const char* uri = nullptr;
    g_variant_lookup(results, "uri", "&s", &uri);
    LOG_DEBUG("portal response {}", response);
    if (response == 0 && uri != nullptr) {
        self->finish(moveInto(uri, self->pending_->output) ? CaptureOutcome::Captured
                                                           : CaptureOutcome::Cancelled);
    } else {
        self->finish(response == 1 ? CaptureOutcome::Cancelled : CaptureOutcome::Unavailable);
    }
}

void PortalCaptureTool::finish(CaptureOutcome outcome) {
    auto pending = std::move(pending_);
    if (!pending) {
        return;
    }
    if (pending->subscription != 0) {
        g_dbus_connection_signal_unsubscribe(connection_.get(), pending->subscription);
    }
    pending->done(outcome);
}

} // namespace lumeris
