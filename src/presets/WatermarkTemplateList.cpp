#include "presets/WatermarkTemplateList.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

WatermarkTemplateList::WatermarkTemplateList(SettingsStore& settings)
    : settings_(settings), templates_(settings.stringArray(SettingKeys::WATERMARK_TEMPLATES, {})) {
    std::erase(templates_, std::string());
}

void WatermarkTemplateList::store() {
    settings_.set(SettingKeys::WATERMARK_TEMPLATES, templates_);
}

bool WatermarkTemplateList::add() {
    if (!templates_.empty() && templates_.back().empty()) {
        return false;
    }
    templates_.emplace_back();
    return true;
}

WatermarkTemplateList::EditEnd WatermarkTemplateList::endEditing(std::size_t row,
                                                                 const std::string& text) {
    if (row >= templates_.size()) {
        return EditEnd::Restored;
    }
    if (!text.empty()) {
        templates_[row] = text;
        store();
        return EditEnd::Stored;
    }
    if (!templates_[row].empty()) {
        return EditEnd::Restored;
    }
    templates_.erase(templates_.begin() + static_cast<std::ptrdiff_t>(row));
    return EditEnd::Removed;
}

void WatermarkTemplateList::remove(std::size_t row) {
    if (row >= templates_.size()) {
        return;
    }
    templates_.erase(templates_.begin() + static_cast<std::ptrdiff_t>(row));
    store();
}

std::optional<std::string> WatermarkTemplateList::select(std::size_t row) {
    if (row >= templates_.size() || templates_[row].empty()) {
        return std::nullopt;
    }
    settings_.set(SettingKeys::WATERMARK_TEXT, templates_[row]);
    return templates_[row];
}

} // namespace lumeris
