#pragma once

#include "render/gtk/CustomWKWebView.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumeris {

// Keeps every user event the view reports, in order.
class RecordingWebViewDelegate : public CustomWKWebViewDelegate {
public:
    void onWebViewUserEvents(const std::string& name,
                             const std::optional<nlohmann::json>& payload) override {
        events.emplace_back(name, payload);
    }

    std::vector<std::pair<std::string, std::optional<nlohmann::json>>> events;
};

} // namespace lumeris
