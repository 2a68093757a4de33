#pragma once

#include "presets/EditorPreset.h"
#include "presets/EditorPresetManager.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumeris {

class Alerts;
class EditorController;
class SettingsStore;

// The editor's preset menu: which look is chosen, applying it to the controls and settings, and
// keeping a chosen stored preset in step with every edit. Display-free; the window shows the
// menu through `Menu`.
class EditorPresets {
public:
    struct Menu {
        // The titles in order (stored names, then the built-in and the unsaved entry), with the
        // selected one.
        std::function<void(const std::vector<std::string>& titles, const std::string& selected)>
            show;
        std::function<void(bool saveVisible, bool deleteVisible)> buttons;
        // The watermark field follows an applied preset.
        std::function<void(const std::string& text)> watermarkField;
    };

    EditorPresets(SettingsStore& settings, EditorController& controller, Alerts& alerts, Menu menu);

    // Opening an editor: "Your Preset" stored the first time, the last used preset applied.
    void start();
    // The user picked a title in the menu.
    void menuChanged(const std::string& title);
    // The name typed for a new preset; false for an empty name (the entry stays open).
    bool presetNameEntered(const std::string& name);
    // The delete button: asks, then removes every preset of the selected name.
    void deleteSelected();
    // After every control change a preset covers.
    void presetStateChanged();
    // Another program changed the stored list: the menu shows it; a deleted selection becomes
    // "New Preset...".
    void storedPresetsChanged();

    EditorPreset currentPreset() const;
    void applyPreset(const EditorPreset& preset);
    const std::string& selectedTitle() const { return selected_; }
    const EditorPreset& builtInDefault() const { return builtIn_; }

private:
    void reloadPresetMenu();
    void select(const std::string& title);
    void applyDefault();

    SettingsStore& settings_;
    EditorController& controller_;
    Alerts& alerts_;
    Menu menu_;
    EditorPresetManager manager_;
    EditorPreset builtIn_;
    std::string selected_;
    // Answers of alerts still open when the editor goes end here.
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace lumeris
