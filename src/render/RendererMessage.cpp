#include "render/RendererMessage.h"

namespace lumeris {

namespace {

std::optional<nlohmann::json> parse(std::string_view text) {
    auto value = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<UserEvent> RendererMessage::userEvent(const nlohmann::json& body) {
    if (!body.is_object()) {
        return std::nullopt;
    }
    auto name = body.find("name");
    if (name == body.end() || !name->is_string()) {
        return std::nullopt;
    }
    UserEvent event{name->get<std::string>(), std::nullopt};
    if (auto payload = body.find("payload"); payload != body.end()) {
        event.payload = *payload;
    }
    return event;
}

std::optional<UserEvent> RendererMessage::userEventFromJson(std::string_view jsonText) {
    auto value = parse(jsonText);
    return value ? userEvent(*value) : std::nullopt;
}

std::optional<std::string> RendererMessage::logLine(const nlohmann::json& body) {
    if (!body.is_string()) {
        return std::nullopt;
    }
    return body.get<std::string>();
}

std::optional<std::string> RendererMessage::logLineFromJson(std::string_view jsonText) {
    auto value = parse(jsonText);
    return value ? logLine(*value) : std::nullopt;
}

bool RendererMessage::isTrue(std::string_view jsonText) {
    auto value = parse(jsonText);
    return value && value->is_boolean() && value->get<bool>();
}

std::optional<std::string> RendererMessage::stringValue(std::string_view jsonText) {
    auto value = parse(jsonText);
    if (!value || !value->is_string()) {
        return std::nullopt;
    }
    return value->get<std::string>();
}

} // namespace lumeris
