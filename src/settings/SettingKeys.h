#pragma once

#include "settings/SettingKey.h"
#include "settings/SettingValue.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumeris {

// Every key the program reads or writes, in one table: its name, its type and the default
// registration writes. No other file spells a key.
class SettingKeys {
public:
    using Type = SettingKey::Type;
    using Derived = SettingKey::Derived;
    using Scope = SettingKey::Scope;
    using Range = SettingKey::Range;
    using Form = SettingKey::Form;

    // The slider ranges of the composition values.
    static constexpr Range PADDING_RANGE{0, 200};
    static constexpr Range INSET_RANGE{0, 100};
    static constexpr Range BORDER_RADIUS_RANGE{0, 60};
    static constexpr Range SHADOW_RANGE{0, 100};
    static constexpr Range TILT_RANGE{0, 30};
    // The largest side an exact output size ("WxH") may ask for, in points.
    static constexpr int MAX_EXACT_SIDE = 10000;

    static constexpr std::string_view DEFAULT_WATERMARK_TEXT = "Screenshot by lumeris.app";
    // One-time hints are remembered as this prefix followed by the hint's id.
    static constexpr std::string_view TOOLTIP_ONCE_PREFIX = "tooltip-once-";
    // The one hint shown once: assigning the capture shortcut in the preferences.
    static constexpr std::string_view ONBOARD_ASSIGN_SHORTCUT_HINT = "onboard-assign-shortcut";
    static std::string tooltipOnceKey(std::string_view hintId) {
        return std::string(TOOLTIP_ONCE_PREFIX).append(hintId);
    }

    // Registered keys first, in the order registration writes them.
    static constexpr SettingKey SHARE_ANONYMOUS_REPORTS{"share-anonymous-reports", Type::Boolean,
                                                        true};
    static constexpr SettingKey PADDING{.name = "settings.padding",
                                        .type = Type::Double,
                                        .registered = 100.0,
                                        .range = PADDING_RANGE};
    static constexpr SettingKey INSET{
        .name = "settings.inset", .type = Type::Double, .registered = 20.0, .range = INSET_RANGE};
    static constexpr SettingKey BORDER_RADIUS{.name = "settings.border-radius",
                                              .type = Type::Double,
                                              .registered = 20.0,
                                              .range = BORDER_RADIUS_RANGE};
    static constexpr SettingKey SHADOW{
        .name = "settings.shadow", .type = Type::Double, .registered = 25.0, .range = SHADOW_RANGE};
    static constexpr SettingKey WATERMARK_TEXT{"settings.watermark-text", Type::String,
                                               DEFAULT_WATERMARK_TEXT};
    static constexpr SettingKey BG_COLOR_PLAIN{.name = "settings.bg-color.plain",
                                               .type = Type::String,
                                               .registered = "#40a5d2",
                                               .form = Form::Colour};
    static constexpr SettingKey BG_COLOR_GRADIENT_START{.name = "settings.bg-color.gradient-start",
                                                        .type = Type::String,
                                                        .registered = "#c04180",
                                                        .form = Form::Colour};
    static constexpr SettingKey BG_COLOR_GRADIENT_STOP{.name = "settings.bg-color.gradient-stop",
                                                       .type = Type::String,
                                                       .registered = "#e55074",
                                                       .form = Form::Colour};
    static constexpr SettingKey BG_COLOR_OPTION{"settings.bg-color.option", Type::String, "plain"};
    static constexpr SettingKey BACKGROUND_ID{"settings.background-id", Type::String, "rain"};
    static constexpr SettingKey SCREENSHOT_PATH{"settings.screenshot-path", Type::String,
                                                Derived::ArchivesFolder};
    static constexpr SettingKey SAVE_PATH{"settings.save-path", Type::String,
                                          Derived::DesktopFolder};
    static constexpr SettingKey SAVE_SCREENSHOT{"settings.save-screenshot", Type::Boolean, true};
    static constexpr SettingKey HIDE_DOCK_ICON{"settings.hide-dock-icon", Type::Boolean, true};
    static constexpr SettingKey TILT_X{
        .name = "settings.tilt-x", .type = Type::Double, .registered = 15.0, .range = TILT_RANGE};
    static constexpr SettingKey TILT_Y{
        .name = "settings.tilt-y", .type = Type::Double, .registered = 15.0, .range = TILT_RANGE};
    static constexpr SettingKey HIDE_WINDOWS_WHEN_SCREENSHOT{
        "settings.hide-windows-when-screenshot", Type::Boolean, true};
    static constexpr SettingKey AUTO_REDACT{"settings.auto-redact", Type::Boolean, true};
    static constexpr SettingKey INSET_BALANCE{"settings.inset-balance", Type::Boolean, true};
    static constexpr SettingKey CLOSE_AFTER_COPY{"settings.close-after-copy", Type::Boolean, true};
    static constexpr SettingKey SOUNDS_ON{"settings.sounds-on", Type::Boolean, true};
    static constexpr SettingKey WATERMARK_TEMPLATES{
        "settings.watermark-templates", Type::StringArray, Derived::CurrentWatermarkText};
    static constexpr SettingKey SHOW_WATERMARK{"settings.show-watermark", Type::Boolean, true};
    static constexpr SettingKey AUTO_REDACT_EMAILS{"settings.auto-redact.emails", Type::Boolean,
                                                   true};
    static constexpr SettingKey AUTO_REDACT_CREDIT_CARDS{"settings.auto-redact.credit-cards",
                                                         Type::Boolean, false};
    static constexpr SettingKey AUTO_REDACT_IP_ADDRESSES{"settings.auto-redact.ip-addresses",
                                                         Type::Boolean, false};
    static constexpr SettingKey AUTO_REDACT_API_KEYS{"settings.auto-redact.api-keys", Type::Boolean,
                                                     false};
    static constexpr SettingKey DEFAULT_FILE_NAME{"settings.default-file-name", Type::String,
                                                  "Lumeris-{datetime}"};
    static constexpr SettingKey RATIO{
        .name = "settings.ratio", .type = Type::String, .form = Form::Ratio};
    static constexpr SettingKey CUSTOM_BACKGROUND_FILE_PATH{"settings.custom-background-file-path",
                                                            Type::String};
    static constexpr SettingKey CUSTOM_BACKGROUND_PATH{"settings.custom-background-path",
                                                       Type::String};
    static constexpr SettingKey REDACT_COLOR{
        .name = "settings.redact-color", .type = Type::String, .form = Form::Colour};
    static constexpr SettingKey IMAGE_COMPRESSION{"settings.image-compression", Type::Boolean};
    static constexpr SettingKey ENABLE_DEFAULT_FILE_NAME{"settings.enable-default-file-name",
                                                         Type::Boolean};
    static constexpr SettingKey LAST_USED_PRESET{"settings.last-used-preset", Type::String};
    static constexpr SettingKey HIDE_WINDOW_AT_LAUNCH{"settings.hide-window-at-launch",
                                                      Type::Boolean};
    static constexpr SettingKey SHOW_STATUS_ICON{"show-status-icon", Type::Boolean};
    // What the user asked for; the XDG autostart entry is written or removed to match.
    static constexpr SettingKey LAUNCH_AT_LOGIN{"settings.launch-at-login", Type::Boolean};
    // A capture backend's name ("portal", "maim", …) or a program called like the capture
    // tools; empty for the desktop's own tool.
    static constexpr SettingKey CAPTURE_COMMAND{"settings.capture-command", Type::String};
    static constexpr SettingKey GLOBAL_HOTKEY_ENABLED{"global-hotkey-enabled", Type::Boolean};
    static constexpr SettingKey TAKE_AND_COPY_HOTKEY_ENABLED{
        "take-and-copy-to-clipboard-hotkey-enabled", Type::Boolean};
    static constexpr SettingKey TEXT_DETECTED_SEEN{"text-detected-seen", Type::Boolean};
    static constexpr SettingKey DESKTOP_CACHE{"settings.desktop-cache", Type::String,
                                              std::monostate{}, Scope::State};
    static constexpr SettingKey CUSTOM_PATH_CACHE{"settings.custom-path-cache", Type::String,
                                                  std::monostate{}, Scope::State};
    static constexpr SettingKey PRESETS_STORAGE_KEY{"presetsStorageKey", Type::Data,
                                                    std::monostate{}, Scope::State};
    static constexpr SettingKey GLOBAL_HOTKEY{"global-hotkey", Type::Dictionary, std::monostate{},
                                              Scope::State};
    static constexpr SettingKey TAKE_AND_COPY_HOTKEY{
        "take-and-copy-to-clipboard-hotkey", Type::Dictionary, std::monostate{}, Scope::State};
    static constexpr SettingKey FIRST_DRAG_DONE{"first-drag-done", Type::Boolean, std::monostate{},
                                                Scope::State};
    static constexpr SettingKey USER_ANNOTATION_BETA_ENABLED{
        "user-annotation-beta-enabled", Type::Boolean, std::monostate{}, Scope::State};

    // The whole table, registered keys first in registration order.
    static std::span<const SettingKey> all();
    static const SettingKey* find(std::string_view name);

    // The type of a preference that may be set by name (command-line overrides); nothing for
    // unknown keys and for state.
    static std::optional<Type> typeOf(std::string_view name);

    // The preferences that may be set by name, in alphabetical order.
    static std::vector<std::string_view> keys();

    // "boolean", "number", "text" or "list".
    static std::string_view typeName(Type type);

    // The value as `parse` reads it back: true/false, a shortest decimal, the text itself, a JSON
    // array of strings.
    static std::string format(const SettingValue& value);

    // Whether `text` is an opaque colour "#RRGGBB".
    static bool isColour(std::string_view text);
    // Whether `text` is a ratio ImageSize lays out: "auto", empty, "W:H" or "WxH" with positive
    // whole numbers, an exact size's sides at most MAX_EXACT_SIDE.
    static bool isRatio(std::string_view text);

    // Why `value` cannot be stored under `key`'s range or form, or nothing when it can.
    static std::optional<std::string> problem(const SettingKey& key, const SettingValue& value);

    // The value `text` gives for `name`, or nothing with `error` naming what is wrong (its type,
    // range or form).
    static std::optional<SettingValue> parse(std::string_view name, std::string_view text,
                                             std::string* error = nullptr);
};

} // namespace lumeris
