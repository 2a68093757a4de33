#pragma once

#include "presets/RatioTemplate.h"
#include "settings/SettingKey.h"

#include <optional>
#include <string>

namespace lumeris {

enum class EditorSlider { Padding, Inset, Radius, Shadow, TiltX, TiltY };

enum class BackgroundButton {
    Desktop,
    Cool,
    Beach,
    Violet,
    Charm,
    Love,
    Flower,
    Sky,
    None,
    Custom
};

enum class RatioButton {
    Auto,
    Ratio43,
    Ratio32,
    Ratio169,
    Ratio11,
    Custom,
    Twitter,
    Facebook,
    Instagram,
    LinkedIn,
    Youtube,
    Pinterest,
    Reddit,
    Snapchat
};

// Which toolbar button stands for a stored value, and what a button stores.
class EditorButtons {
public:
    struct LabelField {
        SettingKey key;
        EditorSlider slider = EditorSlider::Padding;
    };

    // The slider a label button's number entry sets: "padding", "inset", "rounded", "shadow".
    static std::optional<LabelField> labelField(const std::string& field);

    // The button of a "settings.background-id" value; unknown values belong to the custom one.
    static BackgroundButton backgroundButton(const std::string& backgroundID);
    // A template decides by its platform; otherwise the ratio string does.
    static RatioButton ratioButton(const std::string& ratioValue,
                                   const std::optional<RatioTemplate>& ratioTemplate);
    // "16-9" stores "16:9": identifiers cannot hold a colon. No identifier means "auto".
    static std::string ratioSetting(const std::optional<std::string>& identifier);
    // What a background button stores: its identifier, "cool" when it has none.
    static std::string backgroundSetting(const std::optional<std::string>& identifier);
    // "W:H" for "Fit Ratio", "WxH" for "Exact Size".
    static std::string templateRatioSetting(const RatioTemplate& ratioTemplate, bool exactSize);
};

} // namespace lumeris
