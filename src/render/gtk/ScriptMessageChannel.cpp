#include "render/gtk/ScriptMessageChannel.h"

#include "base/GLibHandles.h"

namespace lumeris {

ScriptMessageChannel::ScriptMessageChannel(WebKitUserContentManager* manager, std::string name,
                                           Receiver receiver)
    : manager_(manager), name_(std::move(name)), receiver_(std::move(receiver)) {
    const std::string signal = "script-message-received::" + name_;
    handlerId_ = g_signal_connect(manager_, signal.c_str(),
                                  G_CALLBACK(&ScriptMessageChannel::received), this);
    webkit_user_content_manager_register_script_message_handler(manager_, name_.c_str());
}

ScriptMessageChannel::~ScriptMessageChannel() {
    webkit_user_content_manager_unregister_script_message_handler(manager_, name_.c_str());
    g_signal_handler_disconnect(manager_, handlerId_);
}

std::string ScriptMessageChannel::json(JSCValue* value) {
    if (value == nullptr || jsc_value_is_undefined(value)) {
        return "null";
    }
    GCharPtr text(jsc_value_to_json(value, 0));
    return text ? std::string(text.get()) : "null";
}

void ScriptMessageChannel::received(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                    gpointer self) {
    auto* channel = static_cast<ScriptMessageChannel*>(self);
    channel->receiver_(result == nullptr ? "null"
                                         : json(webkit_javascript_result_get_js_value(result)));
}

} // namespace lumeris
