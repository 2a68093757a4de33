#pragma once

#include "presets/RatioTemplate.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace lumeris {

class SettingsStore;

// A named look of the composed picture. Equality ignores the name.
struct EditorPreset {
    static constexpr const char* DEFAULT_NAME = "Default Preset";
    static constexpr const char* YOUR_PRESET = "Your Preset";
    static constexpr const char* NEW_PRESET = "New Preset...";

    std::string name;
    int padding = 0;
    int inset = 0;
    int borderRadius = 0;
    int shadow = 0;
    std::string backgroundID;
    std::string ratio;
    std::string watermark;
    bool isBalanceEnabled = false;
    bool isEmailRedactEnabled = false;
    std::string customBackgroundPath;
    bool isWatermarkEnabled = false;
    std::optional<RatioTemplate> ratioTemplate;
    std::optional<std::string> bgOption;
    std::optional<std::string> bgPlain;
    std::optional<std::string> bgStart;
    std::optional<std::string> bgStop;

    bool operator==(const EditorPreset& other) const;

    // The built-in look, with the given custom background path.
    static EditorPreset builtInDefault(const std::string& customBackgroundPath);

    // The look the stored settings give (no name, no ratio template): what the command line saves.
    static EditorPreset fromSettings(const SettingsStore& settings);
    // Writes the look into the settings the editor and the renderer read; absent colours as
    // white, an absent option as "plain".
    void writeSettings(SettingsStore& settings) const;

    // Keys in declaration order; the optional ones only when present.
    nlohmann::ordered_json toJson() const;
    // None when a required key is missing or of the wrong type.
    static std::optional<EditorPreset> fromJson(const nlohmann::json& json);
};

} // namespace lumeris
