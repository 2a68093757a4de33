#include "presets/EditorPresetManager.h"

#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace lumeris {

std::filesystem::path EditorPresetManager::setAsidePath() const {
    return settings_.file().parent_path() / "presets.unreadable.json";
}

std::vector<EditorPreset> EditorPresetManager::getPresets() const {
    return readPresets().value_or(std::vector<EditorPreset>{});
}

std::optional<std::vector<EditorPreset>> EditorPresetManager::readPresets() const {
    const auto data = settings_.data(SettingKeys::PRESETS_STORAGE_KEY);
    if (!data) {
        return std::vector<EditorPreset>{};
    }
    std::vector<EditorPreset> presets;
    const auto json = nlohmann::json::parse(data->bytes.begin(), data->bytes.end(), nullptr, false);
    bool decoded = json.is_array();
    for (const auto& entry : decoded ? json : nlohmann::json::array()) {
        auto preset = EditorPreset::fromJson(entry);
        if (!preset) {
            decoded = false;
            break;
        }
        presets.push_back(std::move(*preset));
    }
    if (decoded) {
        return presets;
    }
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data->bytes.data()),
                                data->bytes.size());
    if (AtomicFile::writeFileAtomically(setAsidePath(), text, error)) {
        LOG_WARNING("The stored presets cannot be read; they are kept in {}",
                    setAsidePath().string());
    } else {
        LOG_ERROR("The stored presets cannot be read, nor kept aside: {}", error);
    }
    return std::nullopt;
}

void EditorPresetManager::store(const std::vector<EditorPreset>& presets) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const auto& preset : presets) {
        array.push_back(preset.toJson());
    }
    const std::string text = array.dump();
    settings_.set(SettingKeys::PRESETS_STORAGE_KEY, RawData{{text.begin(), text.end()}});
}

void EditorPresetManager::addPreset(const EditorPreset& preset) {
    auto presets = getPresets();
    presets.push_back(preset);
    store(presets);
}

void EditorPresetManager::updatePreset(const EditorPreset& preset, bool keepInset,
                                       bool keepBorderRadius) {
    auto presets = getPresets();
    auto found = std::find_if(presets.begin(), presets.end(),
                              [&](const auto& stored) { return stored.name == preset.name; });
    if (found == presets.end()) {
        return;
    }
    EditorPreset updated = preset;
    if (keepInset) {
        updated.inset = found->inset;
    }
    if (keepBorderRadius) {
        updated.borderRadius = found->borderRadius;
    }
    *found = std::move(updated);
    store(presets);
}

void EditorPresetManager::deletePreset(const std::string& name) {
    auto presets = getPresets();
    std::erase_if(presets, [&](const auto& stored) { return stored.name == name; });
    store(presets);
}

void EditorPresetManager::ensureYourPreset(const EditorPreset& preset) {
    auto presets = getPresets();
    if (std::any_of(presets.begin(), presets.end(),
                    [](const auto& stored) { return stored.name == EditorPreset::YOUR_PRESET; })) {
        return;
    }
    EditorPreset yours = preset;
    yours.name = EditorPreset::YOUR_PRESET;
    presets.push_back(std::move(yours));
    store(presets);
}

} // namespace lumeris
