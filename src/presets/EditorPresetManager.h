#pragma once

#include "presets/EditorPreset.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class SettingsStore;

// The stored presets: one JSON array under "presetsStorageKey", read afresh and written whole on
// every call. Stored data that does not decode reads as no presets; it is first copied aside
// (next to the settings file) so that the next write loses nothing.
class EditorPresetManager {
public:
    explicit EditorPresetManager(SettingsStore& settings) : settings_(settings) {}

    std::vector<EditorPreset> getPresets() const;
    // The same, but nothing when stored data did not decode (and was kept aside).
    std::optional<std::vector<EditorPreset>> readPresets() const;
    void addPreset(const EditorPreset& preset);
    // Replaces the first preset of that name, keeping its inset or radius when asked.
    void updatePreset(const EditorPreset& preset, bool keepInset, bool keepBorderRadius);
    // Every preset of that name.
    void deletePreset(const std::string& name);
    // Stores `preset` as "Your Preset" unless one exists.
    void ensureYourPreset(const EditorPreset& preset);

    // Where undecodable stored presets are kept.
    std::filesystem::path setAsidePath() const;

private:
    void store(const std::vector<EditorPreset>& presets);

    SettingsStore& settings_;
};

} // namespace lumeris
