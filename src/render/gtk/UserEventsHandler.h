#pragma once

#include "render/RendererMessage.h"

#include <memory>
#include <webkit2/webkit2.h>

namespace lumeris {

class UserEventsHandlerDelegate {
public:
    virtual ~UserEventsHandlerDelegate() = default;
    virtual void onUserEventsMessage(const UserEvent& event) = 0;
};

// Receives the "events" channel of one content manager and hands decoded messages to its delegate
// (held weakly: a view that is gone ends delivery silently). Disconnects when destroyed.
class UserEventsHandler {
public:
    UserEventsHandler(WebKitUserContentManager* manager,
                      std::weak_ptr<UserEventsHandlerDelegate> delegate);
    ~UserEventsHandler();
    UserEventsHandler(const UserEventsHandler&) = delete;
    UserEventsHandler& operator=(const UserEventsHandler&) = delete;

    static constexpr const char* CHANNEL = "events";

private:
    static void received(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer self);

    WebKitUserContentManager* manager_;
    std::weak_ptr<UserEventsHandlerDelegate> delegate_;
    gulong handlerId_ = 0;
};

// Receives the "logging" channel: every string is written to the application log as it arrived.
class LoggingMessageHandler {
public:
    explicit LoggingMessageHandler(WebKitUserContentManager* manager);
    ~LoggingMessageHandler();
    LoggingMessageHandler(const LoggingMessageHandler&) = delete;
    LoggingMessageHandler& operator=(const LoggingMessageHandler&) = delete;

    static constexpr const char* CHANNEL = "logging";

private:
    static void received(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer self);

    WebKitUserContentManager* manager_;
    gulong handlerId_ = 0;
};

// The JSON text of a value the document posted or a script returned ("null" for undefined).
std::string javascriptResultJson(WebKitJavascriptResult* result);
std::string jscValueJson(JSCValue* value);

} // namespace lumeris
