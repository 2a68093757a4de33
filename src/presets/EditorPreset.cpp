#include "presets/EditorPreset.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <cmath>
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

EditorPreset EditorPreset::fromSettings(const SettingsStore& settings) {
    const auto whole = [&](const SettingKey& key) {
        return static_cast<int>(std::lround(settings.doubleValue(key, 0)));
    };
    EditorPreset preset;
    preset.padding = whole(SettingKeys::PADDING);
    preset.inset = whole(SettingKeys::INSET);
    preset.borderRadius = whole(SettingKeys::BORDER_RADIUS);
    preset.shadow = whole(SettingKeys::SHADOW);
    preset.backgroundID = settings.string(SettingKeys::BACKGROUND_ID, "");
    preset.ratio = settings.string(SettingKeys::RATIO, "auto");
    preset.watermark = settings.string(SettingKeys::WATERMARK_TEXT, "");
    preset.isBalanceEnabled = settings.boolValue(SettingKeys::INSET_BALANCE, true);
    preset.isEmailRedactEnabled = settings.boolValue(SettingKeys::AUTO_REDACT, true);
    preset.customBackgroundPath = settings.string(SettingKeys::CUSTOM_BACKGROUND_PATH, "");
    preset.isWatermarkEnabled = settings.boolValue(SettingKeys::SHOW_WATERMARK, true);
    preset.bgOption = settings.string(SettingKeys::BG_COLOR_OPTION, "plain");
    preset.bgPlain = settings.string(SettingKeys::BG_COLOR_PLAIN, "#ffffff");
    preset.bgStart = settings.string(SettingKeys::BG_COLOR_GRADIENT_START, "#ffffff");
    preset.bgStop = settings.string(SettingKeys::BG_COLOR_GRADIENT_STOP, "#ffffff");
    return preset;
}

void EditorPreset::writeSettings(SettingsStore& settings) const {
    const SettingsStore::Batch batch(settings);
    settings.set(SettingKeys::PADDING, static_cast<double>(padding));
    settings.set(SettingKeys::INSET, static_cast<double>(inset));
    settings.set(SettingKeys::BORDER_RADIUS, static_cast<double>(borderRadius));
    settings.set(SettingKeys::SHADOW, static_cast<double>(shadow));
    settings.set(SettingKeys::WATERMARK_TEXT, watermark);
    settings.set(SettingKeys::BACKGROUND_ID, backgroundID);
    settings.set(SettingKeys::CUSTOM_BACKGROUND_PATH, customBackgroundPath);
    settings.set(SettingKeys::RATIO, ratio);
    settings.set(SettingKeys::SHOW_WATERMARK, isWatermarkEnabled);
    settings.set(SettingKeys::BG_COLOR_OPTION, bgOption.value_or("plain"));
    settings.set(SettingKeys::BG_COLOR_PLAIN, bgPlain.value_or("#ffffff"));
    settings.set(SettingKeys::BG_COLOR_GRADIENT_START, bgStart.value_or("#ffffff"));
    settings.set(SettingKeys::BG_COLOR_GRADIENT_STOP, bgStop.value_or("#ffffff"));
    settings.set(SettingKeys::AUTO_REDACT, isEmailRedactEnabled);
    settings.set(SettingKeys::INSET_BALANCE, isBalanceEnabled);
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
    bool templateOk = true;
    p.ratioTemplate = readTemplate(json, templateOk);
    return ok && templateOk ? std::optional<EditorPreset>(std::move(p)) : std::nullopt;
}

} // namespace lumeris
