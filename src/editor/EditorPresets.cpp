#include "editor/EditorPresets.h"

#include "editor/EditorController.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/AlertRequest.h"
#include "ui/Alerts.h"

#include <algorithm>

namespace lumeris {

namespace {

std::optional<EditorPreset> stored(const std::vector<EditorPreset>& presets,
                                   const std::string& name) {
    auto found = std::find_if(presets.begin(), presets.end(),
                              [&](const auto& preset) { return preset.name == name; });
    return found == presets.end() ? std::nullopt : std::optional<EditorPreset>(*found);
}

} // namespace

EditorPresets::EditorPresets(SettingsStore& settings, EditorController& controller, Alerts& alerts,
                             Menu menu)
    : settings_(settings), controller_(controller), alerts_(alerts), menu_(std::move(menu)),
      manager_(settings), builtIn_(EditorPreset::builtInDefault(
                              settings.string(SettingKeys::CUSTOM_BACKGROUND_PATH, ""))) {}

EditorPreset EditorPresets::currentPreset() const {
    const auto& values = controller_.values();
    EditorPreset preset;
    preset.padding = values.paddingValue;
    preset.inset = values.insetValue;
    preset.borderRadius = values.borderRadiusValue;
    preset.shadow = values.shadowValue;
    preset.backgroundID = values.backgroundID;
    preset.ratio = values.ratioValue;
    // The text as typed: its date variables stay variables.
    preset.watermark = settings_.string(SettingKeys::WATERMARK_TEXT, "");
    preset.isBalanceEnabled = values.insetBalanceValue;
    preset.isEmailRedactEnabled = values.autoRedactEnabled;
    preset.customBackgroundPath = values.customBackgroundPath;
    preset.isWatermarkEnabled = values.isWatermarkEnabled;
    preset.ratioTemplate = controller_.ratioTemplate();
    preset.bgOption = settings_.string(SettingKeys::BG_COLOR_OPTION, "plain");
    preset.bgPlain = settings_.string(SettingKeys::BG_COLOR_PLAIN, "#ffffff");
    preset.bgStart = settings_.string(SettingKeys::BG_COLOR_GRADIENT_START, "#ffffff");
    preset.bgStop = settings_.string(SettingKeys::BG_COLOR_GRADIENT_STOP, "#ffffff");
    return preset;
}

void EditorPresets::reloadPresetMenu() {
    std::vector<std::string> titles;
    for (const auto& preset : manager_.getPresets()) {
        titles.push_back(preset.name);
    }
    titles.emplace_back(EditorPreset::DEFAULT_NAME);
    titles.emplace_back(EditorPreset::NEW_PRESET);
    menu_.show(titles, selected_);
}

void EditorPresets::select(const std::string& title) {
    selected_ = title;
    reloadPresetMenu();
}

void EditorPresets::storedPresetsChanged() {
    if (selected_ == EditorPreset::DEFAULT_NAME || selected_ == EditorPreset::NEW_PRESET ||
        stored(manager_.getPresets(), selected_)) {
        reloadPresetMenu();
        return;
    }
    select(EditorPreset::NEW_PRESET);
    menu_.buttons(true, false);
}

void EditorPresets::start() {
    const SettingsStore::Batch batch(settings_);
    manager_.ensureYourPreset(currentPreset());
    const std::string last =
        settings_.string(SettingKeys::LAST_USED_PRESET, EditorPreset::YOUR_PRESET);
    if (auto preset = stored(manager_.getPresets(), last)) {
        select(last);
        applyPreset(*preset);
        menu_.buttons(false,
                      last != EditorPreset::DEFAULT_NAME && last != EditorPreset::NEW_PRESET);
    } else {
        applyDefault();
    }
}

void EditorPresets::applyDefault() {
    select(EditorPreset::DEFAULT_NAME);
    menu_.buttons(false, false);
    applyPreset(builtIn_);
}

void EditorPresets::menuChanged(const std::string& title) {
    if (title == selected_) {
        return;
    }
    if (title == EditorPreset::DEFAULT_NAME) {
        applyDefault();
        settings_.set(SettingKeys::LAST_USED_PRESET, title);
    } else if (title == EditorPreset::NEW_PRESET) {
        selected_ = title;
        menu_.buttons(true, false);
    } else if (auto preset = stored(manager_.getPresets(), title)) {
        selected_ = title;
        menu_.buttons(false, true);
        applyPreset(*preset);
        settings_.set(SettingKeys::LAST_USED_PRESET, title);
    }
}

bool EditorPresets::presetNameEntered(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    EditorPreset preset = currentPreset();
    preset.name = name;
    manager_.addPreset(preset);
    menu_.buttons(false, true);
    select(name);
    settings_.set(SettingKeys::LAST_USED_PRESET, name);
    return true;
}

void EditorPresets::deleteSelected() {
    const std::string name = selected_;
    alerts_.show(AlertRequest{"Are you sure?", "This action can't be undone", {"OK", "Cancel"}},
                 [this, name, alive = std::weak_ptr<int>(lifetime_)](int button) {
                     if (button != 0 || alive.expired()) {
                         return;
                     }
                     manager_.deletePreset(name);
                     applyDefault();
                     settings_.set(SettingKeys::LAST_USED_PRESET,
                                   std::string(EditorPreset::DEFAULT_NAME));
                 });
}

void EditorPresets::presetStateChanged() {
    if (selected_ == EditorPreset::DEFAULT_NAME) {
        if (!(currentPreset() == builtIn_)) {
            select(EditorPreset::NEW_PRESET);
            menu_.buttons(true, false);
        }
    } else if (selected_ != EditorPreset::NEW_PRESET && !selected_.empty()) {
        EditorPreset preset = currentPreset();
        preset.name = selected_;
        const auto& values = controller_.values();
        manager_.updatePreset(preset, !values.insetEnabled, values.useWindowBorder);
        menu_.buttons(false, true);
    }
}

void EditorPresets::applyPreset(const EditorPreset& preset) {
    const SettingsStore::Batch batch(settings_);
    const bool balanceBefore = settings_.boolValue(SettingKeys::INSET_BALANCE, true);
    preset.writeSettings(settings_);
    menu_.watermarkField(preset.watermark);
    controller_.presetApplied(preset.ratioTemplate, preset.inset,
                              balanceBefore != preset.isBalanceEnabled);
}

} // namespace lumeris
