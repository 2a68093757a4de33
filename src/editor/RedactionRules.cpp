#include "editor/RedactionRules.h"

#include "settings/SettingsStore.h"

namespace lumeris {

std::vector<std::string> RedactionRules::activePatterns(const SettingsStore& settings) {
    std::vector<std::string> patterns;
    for (const auto& rule : ALL) {
        if (settings.boolValue(rule.setting, true)) {
            patterns.emplace_back(rule.pattern);
        }
    }
    return patterns;
}

const RedactionRule* RedactionRules::ruleOf(const std::string& pattern) {
    for (const auto& rule : ALL) {
        if (pattern == rule.pattern) {
            return &rule;
        }
    }
    return nullptr;
}

} // namespace lumeris
