#include "editor/EditorButtons.h"

#include "settings/SettingKeys.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace lumeris {

namespace {

template <typename Button, std::size_t N>
std::optional<Button> lookUp(const std::array<std::pair<std::string_view, Button>, N>& table,
                             std::string_view key) {
    for (const auto& [name, button] : table) {
        if (name == key) {
            return button;
        }
    }
    return std::nullopt;
}

constexpr std::array<std::pair<std::string_view, BackgroundButton>, 9> BACKGROUNDS{{
    {"desktop", BackgroundButton::Desktop},
    {"cool", BackgroundButton::Cool},
    {"beach", BackgroundButton::Beach},
    {"violet", BackgroundButton::Violet},
    {"charm", BackgroundButton::Charm},
    {"love", BackgroundButton::Love},
    {"flower", BackgroundButton::Flower},
    {"sky", BackgroundButton::Sky},
    {"transparent", BackgroundButton::None},
}};

constexpr std::array<std::pair<std::string_view, RatioButton>, 6> RATIOS{{
    {"auto", RatioButton::Auto},
    {"", RatioButton::Auto},
    {"4:3", RatioButton::Ratio43},
    {"3:2", RatioButton::Ratio32},
    {"16:9", RatioButton::Ratio169},
    {"1:1", RatioButton::Ratio11},
}};

constexpr std::array<std::pair<std::string_view, RatioButton>, 8> PLATFORMS{{
    {"twitter", RatioButton::Twitter},
    {"facebook", RatioButton::Facebook},
    {"instagram", RatioButton::Instagram},
    {"linkedin", RatioButton::LinkedIn},
    {"youtube", RatioButton::Youtube},
    {"pinterest", RatioButton::Pinterest},
    {"reddit", RatioButton::Reddit},
    {"snapchat", RatioButton::Snapchat},
}};

} // namespace

BackgroundButton EditorButtons::backgroundButton(const std::string& backgroundID) {
    return lookUp(BACKGROUNDS, backgroundID).value_or(BackgroundButton::Custom);
}

RatioButton EditorButtons::ratioButton(const std::string& ratioValue,
                                       const std::optional<RatioTemplate>& ratioTemplate) {
    if (ratioTemplate) {
        return lookUp(PLATFORMS, ratioTemplate->platform).value_or(RatioButton::Custom);
    }
    return lookUp(RATIOS, ratioValue).value_or(RatioButton::Custom);
}

std::string EditorButtons::ratioSetting(const std::optional<std::string>& identifier) {
    std::string value = identifier.value_or("auto");
    std::replace(value.begin(), value.end(), '-', ':');
    return value;
}

std::optional<EditorButtons::LabelField> EditorButtons::labelField(const std::string& field) {
    static constexpr std::array<std::pair<std::string_view, LabelField>, 4> FIELDS{{
        {"padding", {SettingKeys::PADDING, EditorSlider::Padding}},
        {"inset", {SettingKeys::INSET, EditorSlider::Inset}},
        {"rounded", {SettingKeys::BORDER_RADIUS, EditorSlider::Radius}},
        {"shadow", {SettingKeys::SHADOW, EditorSlider::Shadow}},
    }};
    return lookUp(FIELDS, field);
}

std::string EditorButtons::backgroundSetting(const std::optional<std::string>& identifier) {
    return identifier.value_or("cool");
}

std::string EditorButtons::templateRatioSetting(const RatioTemplate& ratioTemplate,
                                                bool exactSize) {
    return std::to_string(ratioTemplate.size.w) + (exactSize ? "x" : ":") +
           std::to_string(ratioTemplate.size.h);
}

} // namespace lumeris
