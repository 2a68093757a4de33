#pragma once

#include <string_view>

namespace lumeris {

class SettingsStore;

// Hints the user may turn off for good: "don't show again" is remembered in the settings as
// "tooltip-once-" + the hint's id.
class OnceHints {
public:
    explicit OnceHints(SettingsStore& settings) : settings_(settings) {}

    bool isSuppressed(std::string_view hintId) const;
    void dontShowAgain(std::string_view hintId);

private:
    SettingsStore& settings_;
};

} // namespace lumeris
