#include "app/SettingKeys.h"

#include "render/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>

namespace lumeris {

namespace {

using Type = SettingKeys::Type;

const std::map<std::string_view, Type>& knownKeys() {
    static const std::map<std::string_view, Type> keys = {
        {"settings.padding", Type::Double},
        {"settings.inset", Type::Double},
        {"settings.inset-balance", Type::Boolean},
        {"settings.border-radius", Type::Double},
        {"settings.shadow", Type::Double},
        {"settings.tilt-x", Type::Double},
        {"settings.tilt-y", Type::Double},
        {"settings.ratio", Type::String},
        {"settings.bg-color.option", Type::String},
        {"settings.bg-color.plain", Type::String},
        {"settings.bg-color.gradient-start", Type::String},
        {"settings.bg-color.gradient-stop", Type::String},
        {"settings.background-id", Type::String},
        {"settings.custom-background-file-path", Type::String},
        {"settings.custom-background-path", Type::String},
        {"settings.show-watermark", Type::Boolean},
        {"settings.watermark-text", Type::String},
        {"settings.watermark-templates", Type::StringArray},
        {"settings.auto-redact", Type::Boolean},
        {"settings.auto-redact.emails", Type::Boolean},
        {"settings.auto-redact.credit-cards", Type::Boolean},
        {"settings.auto-redact.ip-addresses", Type::Boolean},
        {"settings.auto-redact.api-keys", Type::Boolean},
        {"settings.redact-color", Type::String},
        {"settings.image-compression", Type::Boolean},
        {"settings.close-after-copy", Type::Boolean},
        {"settings.save-screenshot", Type::Boolean},
        {"settings.screenshot-path", Type::String},
        {"settings.save-path", Type::String},
        {"settings.enable-default-file-name", Type::Boolean},
        {"settings.default-file-name", Type::String},
        {"settings.last-used-preset", Type::String},
        {"settings.hide-windows-when-screenshot", Type::Boolean},
        {"settings.hide-dock-icon", Type::Boolean},
        {"settings.hide-window-at-launch", Type::Boolean},
        {"settings.sounds-on", Type::Boolean},
        {"show-status-icon", Type::Boolean},
        {"global-hotkey-enabled", Type::Boolean},
        {"take-and-copy-to-clipboard-hotkey-enabled", Type::Boolean},
        {"text-detected-seen", Type::Boolean},
        {"share-anonymous-reports", Type::Boolean},
    };
    return keys;
}

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::optional<SettingValue> fail(std::string* error, std::string message) {
    if (error != nullptr) {
        *error = std::move(message);
    }
    return std::nullopt;
}

} // namespace

std::optional<SettingKeys::Type> SettingKeys::typeOf(std::string_view key) {
    auto found = knownKeys().find(key);
    if (found == knownKeys().end()) {
        return std::nullopt;
    }
    return found->second;
}

std::vector<std::string_view> SettingKeys::keys() {
    std::vector<std::string_view> names;
    for (const auto& [key, type] : knownKeys()) {
        names.push_back(key);
    }
    return names;
}

std::string_view SettingKeys::typeName(Type type) {
    switch (type) {
    case Type::Boolean:
        return "boolean";
    case Type::Double:
        return "number";
    case Type::String:
        return "text";
    case Type::StringArray:
        return "list";
    }
    return "";
}

std::string SettingKeys::format(const SettingValue& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "true" : "false";
    }
    if (const auto* number = std::get_if<double>(&value)) {
        return NumberText::format(*number);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    if (const auto* strings = std::get_if<StringArray>(&value)) {
        return nlohmann::json(*strings).dump();
    }
    return "(stored data)";
}

std::optional<SettingValue> SettingKeys::parse(std::string_view key, std::string_view text,
                                               std::string* error) {
    auto type = typeOf(key);
    if (!type) {
        return fail(error, "unknown setting \"" + std::string(key) + "\"");
    }
    switch (*type) {
    case Type::Boolean: {
        auto word = lower(text);
        if (word == "true" || word == "yes" || word == "on" || word == "1") {
            return true;
        }
        if (word == "false" || word == "no" || word == "off" || word == "0") {
            return false;
        }
        return fail(error,
                    std::string(key) + " takes true or false, not \"" + std::string(text) + "\"");
    }
    case Type::Double: {
        double value = 0;
        auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || status != std::errc{} || end != text.data() + text.size() ||
            !std::isfinite(value)) {
            return fail(error,
                        std::string(key) + " takes a number, not \"" + std::string(text) + "\"");
        }
        return value;
    }
    case Type::String:
        return std::string(text);
    case Type::StringArray: {
        auto json = nlohmann::json::parse(text, nullptr, false);
        StringArray strings;
        bool valid = json.is_array();
        for (const auto& item : valid ? json : nlohmann::json::array()) {
            valid = valid && item.is_string();
            if (valid) {
                strings.push_back(item.get<std::string>());
            }
        }
        if (!valid) {
            return fail(error, std::string(key) +
                                   " takes a JSON array of strings, such as [\"one\",\"two\"]");
        }
        return strings;
    }
    }
    return std::nullopt;
}

} // namespace lumeris
