#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace lumeris {

// One message of the "events" channel: a dictionary with a string "name" and any "payload".
struct UserEvent {
    std::string name;
    std::optional<nlohmann::json> payload;

    bool operator==(const UserEvent&) const = default;
};

// Decoding of what the document posts, kept free of the renderer so it can be tested alone.
// Messages of an unexpected shape decode to nothing and are dropped without a log.
class RendererMessage {
public:
    static std::optional<UserEvent> userEvent(const nlohmann::json& body);
    // `jsonText` is the posted value serialised as JSON by the renderer.
    static std::optional<UserEvent> userEventFromJson(std::string_view jsonText);

    // The "logging" channel carries single strings.
    static std::optional<std::string> logLine(const nlohmann::json& body);
    static std::optional<std::string> logLineFromJson(std::string_view jsonText);

    // A script's result read the way the host uses it: a boolean (only `true` counts) or a string.
    static bool isTrue(std::string_view jsonText);
    static std::optional<std::string> stringValue(std::string_view jsonText);
};

} // namespace lumeris
