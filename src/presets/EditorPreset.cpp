#include "presets/EditorPreset.h"

#include <tuple>

namespace lumeris {

namespace {

auto comparable(const EditorPreset& p) {
    return std::tie(p.padding, p.inset, p.borderRadius, p.shadow, p.backgroundID, p.ratio,
                    p.watermark, p.isBalanceEnabled, p.isEmailRedactEnabled, p.customBackgroundPath,
                    p.isWatermarkEnabled, p.ratioTemplate, p.bgOption, p.bgPlain, p.bgStart,
                    p.bgStop);
}

template <typename T> bool read(const nlohmann::json& json, const char* key, T& out) {
    const auto found = json.find(key);
    if (found == json.end()) {
        return false;
    }
    if constexpr (std::is_same_v<T, int>) {
        if (!found->is_number_integer()) {
            return false;
        }
    } else if constexpr (std::is_same_v<T, bool>) {
        if (!found->is_boolean()) {
            return false;
        }
    } else if (!found->is_string()) {
        return false;
    }
    out = found->get<T>();
    return true;
}

// Absent is fine; present with the wrong type is not.
bool readOptional(const nlohmann::json& json, const char* key, std::optional<std::string>& out) {
    if (!json.contains(key) || json.at(key).is_null()) {
        return true;
    }
    std::string value;
    if (!read(json, key, value)) {
        return false;
    }
    out = value;
    return true;
}

std::optional<RatioTemplate> readTemplate(const nlohmann::json& json, bool& ok) {
    const auto found = json.find("ratioTemplate");
    if (found == json.end() || found->is_null()) {
        return std::nullopt;
    }
    RatioTemplate result;
    const auto size = found->find("size");
    ok = found->is_object() && read(*found, "name", result.name) &&
         read(*found, "platform", result.platform) && size != found->end() && size->is_object() &&
         read(*size, "w", result.size.w) && read(*size, "h", result.size.h);
    return result;
}

} // namespace

bool EditorPreset::operator==(const EditorPreset& other) const {
    return comparable(*this) == comparable(other);
}

EditorPreset EditorPreset::builtInDefault(const std::string& customBackgroundPath) {
    EditorPreset preset;
    preset.name = DEFAULT_NAME;
    preset.padding = 100;
    preset.inset = 20;
    preset.borderRadius = 20;
    preset.shadow = 25;
    preset.backgroundID = "nice";
    preset.ratio = "auto";
    preset.watermark = "Screenshot by lumeris.app";
    preset.isBalanceEnabled = true;
    preset.isEmailRedactEnabled = true;
    preset.customBackgroundPath = customBackgroundPath;
    preset.isWatermarkEnabled = true;
    preset.bgOption = "plain";
    preset.bgPlain = "#40a5d2";
    preset.bgStart = "#c04180";
    preset.bgStop = "#e55074";
    return preset;
}

nlohmann::ordered_json EditorPreset::toJson() const {
    nlohmann::ordered_json json{{"name", name},
                                {"padding", padding},
                                {"inset", inset},
                                {"borderRadius", borderRadius},
                                {"shadow", shadow},
                                {"backgroundID", backgroundID},
                                {"ratio", ratio},
                                {"watermark", watermark},
                                {"isBalanceEnabled", isBalanceEnabled},
                                {"isEmailRedactEnabled", isEmailRedactEnabled},
                                {"customBackgroundPath", customBackgroundPath},
                                {"isWatermarkEnabled", isWatermarkEnabled}};
    if (ratioTemplate) {
        json["ratioTemplate"] = {
            {"name", ratioTemplate->name},
            {"size", {{"w", ratioTemplate->size.w}, {"h", ratioTemplate->size.h}}},
            {"platform", ratioTemplate->platform}};
    }
    const std::pair<const char*, const std::optional<std::string>*> colours[] = {
        {"bgOption", &bgOption}, {"bgPlain", &bgPlain}, {"bgStart", &bgStart}, {"bgStop", &bgStop}};
    for (const auto& [key, value] : colours) {
        if (*value) {
            json[key] = **value;
        }
    }
    return json;
}

std::optional<EditorPreset> EditorPreset::fromJson(const nlohmann::json& json) {
    if (!json.is_object()) {
        return std::nullopt;
    }
    EditorPreset p;
    bool ok = read(json, "name", p.name) && read(json, "padding", p.padding) &&
              read(json, "inset", p.inset) && read(json, "borderRadius", p.borderRadius) &&
              read(json, "shadow", p.shadow) && read(json, "backgroundID", p.backgroundID) &&
              read(json, "ratio", p.ratio) && read(json, "watermark", p.watermark) &&
              read(json, "isBalanceEnabled", p.isBalanceEnabled) &&
              read(json, "isEmailRedactEnabled", p.isEmailRedactEnabled) &&
              read(json, "customBackgroundPath", p.customBackgroundPath) &&
              read(json, "isWatermarkEnabled", p.isWatermarkEnabled) &&
              readOptional(json, "bgOption", p.bgOption) &&
              readOptional(json, "bgPlain", p.bgPlain) &&
              readOptional(json, "bgStart", p.bgStart) && readOptional(json, "bgStop", p.bgStop);
    p.ratioTemplate = readTemplate(json, ok);
    return ok ? std::optional<EditorPreset>(std::move(p)) : std::nullopt;
}

} // namespace lumeris
