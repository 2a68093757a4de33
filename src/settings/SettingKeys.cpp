#include "settings/SettingKeys.h"

#include "base/NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace lumeris {

namespace {

using Type = SettingKeys::Type;

constexpr SettingKey TABLE[] = {
    SettingKeys::SHARE_ANONYMOUS_REPORTS,
    SettingKeys::PADDING,
    SettingKeys::INSET,
    SettingKeys::BORDER_RADIUS,
    SettingKeys::SHADOW,
    SettingKeys::WATERMARK_TEXT,
    SettingKeys::BG_COLOR_PLAIN,
    SettingKeys::BG_COLOR_GRADIENT_START,
    SettingKeys::BG_COLOR_GRADIENT_STOP,
    SettingKeys::BG_COLOR_OPTION,
    SettingKeys::BACKGROUND_ID,
    SettingKeys::SCREENSHOT_PATH,
    SettingKeys::SAVE_PATH,
    SettingKeys::SAVE_SCREENSHOT,
    SettingKeys::HIDE_DOCK_ICON,
    SettingKeys::TILT_X,
    SettingKeys::TILT_Y,
    SettingKeys::HIDE_WINDOWS_WHEN_SCREENSHOT,
    SettingKeys::AUTO_REDACT,
    SettingKeys::INSET_BALANCE,
    SettingKeys::CLOSE_AFTER_COPY,
    SettingKeys::SOUNDS_ON,
    SettingKeys::WATERMARK_TEMPLATES,
    SettingKeys::SHOW_WATERMARK,
    SettingKeys::AUTO_REDACT_EMAILS,
    SettingKeys::AUTO_REDACT_CREDIT_CARDS,
    SettingKeys::AUTO_REDACT_IP_ADDRESSES,
    SettingKeys::AUTO_REDACT_API_KEYS,
    SettingKeys::DEFAULT_FILE_NAME,
    SettingKeys::RATIO,
    SettingKeys::CUSTOM_BACKGROUND_FILE_PATH,
    SettingKeys::CUSTOM_BACKGROUND_PATH,
    SettingKeys::REDACT_COLOR,
    SettingKeys::IMAGE_COMPRESSION,
    SettingKeys::ENABLE_DEFAULT_FILE_NAME,
    SettingKeys::LAST_USED_PRESET,
    SettingKeys::HIDE_WINDOW_AT_LAUNCH,
    SettingKeys::SHOW_STATUS_ICON,
    SettingKeys::LAUNCH_AT_LOGIN,
    SettingKeys::CAPTURE_COMMAND,
    SettingKeys::GLOBAL_HOTKEY_ENABLED,
    SettingKeys::TAKE_AND_COPY_HOTKEY_ENABLED,
    SettingKeys::TEXT_DETECTED_SEEN,
    SettingKeys::DESKTOP_CACHE,
    SettingKeys::CUSTOM_PATH_CACHE,
    SettingKeys::PRESETS_STORAGE_KEY,
    SettingKeys::GLOBAL_HOTKEY,
    SettingKeys::TAKE_AND_COPY_HOTKEY,
    SettingKeys::FIRST_DRAG_DONE,
    SettingKeys::USER_ANNOTATION_BETA_ENABLED,
};

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// A positive whole number of at most `limit`, digits only.
bool isSide(std::string_view text, int limit) {
    int value = 0;
    auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && std::isdigit(static_cast<unsigned char>(text.front())) &&
           status == std::errc{} && end == text.data() + text.size() && value > 0 && value <= limit;
}

// Whole numbers without a fraction, as people type them.
std::string plainNumber(double value) {
    if (std::fabs(value) < 1e15 && std::floor(value) == value) {
        return std::to_string(static_cast<long long>(value));
    }
    return NumberText::format(value);
}

std::optional<SettingValue> fail(std::string* error, std::string message) {
    if (error != nullptr) {
        *error = std::move(message);
    }
    return std::nullopt;
}

} // namespace

std::span<const SettingKey> SettingKeys::all() {
    return TABLE;
}

const SettingKey* SettingKeys::find(std::string_view name) {
    auto found = std::find_if(std::begin(TABLE), std::end(TABLE),
                              [name](const SettingKey& key) { return key.name == name; });
    return found == std::end(TABLE) ? nullptr : &*found;
}

std::optional<SettingKeys::Type> SettingKeys::typeOf(std::string_view name) {
    const SettingKey* key = find(name);
    if (key == nullptr || key->scope != SettingKey::Scope::Preference) {
        return std::nullopt;
    }
    return key->type;
}

std::vector<std::string_view> SettingKeys::keys() {
    std::vector<std::string_view> names;
    for (const SettingKey& key : TABLE) {
        if (key.scope == SettingKey::Scope::Preference) {
            names.push_back(key.name);
        }
    }
    std::sort(names.begin(), names.end());
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
    case Type::Dictionary:
        return "shortcut";
    case Type::Data:
        return "data";
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

bool SettingKeys::isColour(std::string_view text) {
    return text.size() == 7 && text[0] == '#' &&
           std::all_of(text.begin() + 1, text.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

bool SettingKeys::isRatio(std::string_view text) {
    if (text.empty() || text == "auto") {
        return true;
    }
    for (char separator : {':', 'x'}) {
        const auto at = text.find(separator);
        if (at != std::string_view::npos) {
            return isSide(text.substr(0, at), MAX_EXACT_SIDE) &&
                   isSide(text.substr(at + 1), MAX_EXACT_SIDE);
        }
    }
    return false;
}

std::optional<std::string> SettingKeys::problem(const SettingKey& key, const SettingValue& value) {
    const std::string name(key.name);
    if (const auto* number = std::get_if<double>(&value); number && key.range) {
        if (!key.range->contains(*number)) {
            return name + " takes a number from " + plainNumber(key.range->minimum) + " to " +
                   plainNumber(key.range->maximum) + ", not " + plainNumber(*number);
        }
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (key.form == Form::Colour && !isColour(*text)) {
            return name + " takes an opaque colour such as #336699, not \"" + *text + "\"";
        }
        if (key.form == Form::Ratio && !isRatio(*text)) {
            return name + " takes auto, a ratio such as 16:9 or a size such as 1200x675 (sides " +
                   "up to " + std::to_string(MAX_EXACT_SIDE) + "), not \"" + *text + "\"";
        }
    }
    return std::nullopt;
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
        if (auto wrong = problem(*find(key), value)) {
            return fail(error, *wrong);
        }
        return value;
    }
    case Type::String:
        if (auto wrong = problem(*find(key), std::string(text))) {
            return fail(error, *wrong);
        }
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
    case Type::Dictionary:
    case Type::Data:
        break;
    }
    return fail(error, std::string(key) + " cannot be set by name");
}

} // namespace lumeris
