#pragma once

#include <functional>
#include <string>
#include <webkit2/webkit2.h>

namespace lumeris {

// One named script-message handler of a content manager (the document posts to
// window.webkit.messageHandlers.<name>). Every message reaches `receiver` as JSON text, on the main
// thread. Registers on construction; unregisters and disconnects on destruction, so no message
// arrives after.
class ScriptMessageChannel {
public:
    using Receiver = std::function<void(const std::string& json)>;

    ScriptMessageChannel(WebKitUserContentManager* manager, std::string name, Receiver receiver);
    ~ScriptMessageChannel();
    ScriptMessageChannel(const ScriptMessageChannel&) = delete;
    ScriptMessageChannel& operator=(const ScriptMessageChannel&) = delete;

    const std::string& name() const { return name_; }

    // The JSON text of a value the document posted or a script returned ("null" for undefined).
    static std::string json(JSCValue* value);

private:
    static void received(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer self);

    WebKitUserContentManager* manager_;
    std::string name_;
    Receiver receiver_;
    gulong handlerId_ = 0;
};

} // namespace lumeris
