#include "render/gtk/UserEventsHandler.h"

#include "base/Logger.h"

namespace lumeris {

std::string jscValueJson(JSCValue* value) {
    if (value == nullptr || jsc_value_is_undefined(value)) {
        return "null";
    }
    gchar* json = jsc_value_to_json(value, 0);
    if (json == nullptr) {
        return "null";
    }
    std::string text(json);
    g_free(json);
    return text;
}

std::string javascriptResultJson(WebKitJavascriptResult* result) {
    return result == nullptr ? "null" : jscValueJson(webkit_javascript_result_get_js_value(result));
}

UserEventsHandler::UserEventsHandler(WebKitUserContentManager* manager,
                                     std::weak_ptr<UserEventsHandlerDelegate> delegate)
    : manager_(manager), delegate_(std::move(delegate)) {
    handlerId_ = g_signal_connect(manager_, "script-message-received::events",
                                  G_CALLBACK(&UserEventsHandler::received), this);
    webkit_user_content_manager_register_script_message_handler(manager_, CHANNEL);
}

UserEventsHandler::~UserEventsHandler() {
    webkit_user_content_manager_unregister_script_message_handler(manager_, CHANNEL);
    g_signal_handler_disconnect(manager_, handlerId_);
}

// Main thread: WebKit delivers script messages on the main loop.
void UserEventsHandler::received(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                 gpointer self) {
    auto* handler = static_cast<UserEventsHandler*>(self);
    auto event = RendererMessage::userEventFromJson(javascriptResultJson(result));
    if (!event) {
        return;
    }
    if (auto delegate = handler->delegate_.lock()) {
        delegate->onUserEventsMessage(*event);
    }
}

LoggingMessageHandler::LoggingMessageHandler(WebKitUserContentManager* manager)
    : manager_(manager) {
    handlerId_ = g_signal_connect(manager_, "script-message-received::logging",
                                  G_CALLBACK(&LoggingMessageHandler::received), this);
    webkit_user_content_manager_register_script_message_handler(manager_, CHANNEL);
}

LoggingMessageHandler::~LoggingMessageHandler() {
    webkit_user_content_manager_unregister_script_message_handler(manager_, CHANNEL);
    g_signal_handler_disconnect(manager_, handlerId_);
}

void LoggingMessageHandler::received(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                     gpointer) {
    if (auto line = RendererMessage::logLineFromJson(javascriptResultJson(result))) {
        LOG_DEBUG(*line);
    }
}

} // namespace lumeris
