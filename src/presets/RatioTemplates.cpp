#include "presets/RatioTemplates.h"

#include <map>
#include <string>

namespace lumeris {

const std::vector<RatioTemplate>& RatioTemplates::all() {
    static const std::vector<RatioTemplate> templates{
        {"Timeline image", {1200, 630}, "facebook"},
        {"Highlighted image", {1200, 717}, "facebook"},
        {"Shared link - rectangular", {1200, 628}, "facebook"},
        {"Shared link - square", {154, 154}, "facebook"},
        {"Event cover photo", {1920, 1080}, "facebook"},
        {"Picture - square", {1080, 1080}, "instagram"},
        {"Picture - rectangular", {1350, 1080}, "instagram"},
        {"Picture portrait", {1080, 1350}, "instagram"},
        {"Story", {1080, 1920}, "instagram"},
        {"Shared link", {552, 289}, "linkedin"},
        {"Single image", {1200, 627}, "linkedin"},
        {"Company Life Tab \u2013 Main image", {1128, 376}, "linkedin"},
        {"Company Life Tab \u2013 Photo", {264, 176}, "linkedin"},
        {"Pin (1)", {2, 3}, "pinterest"},
        {"Pin (2)", {9, 16}, "pinterest"},
        {"Pin (3)", {600, 236}, "pinterest"},
        {"Pin (4)", {1000, 1500}, "pinterest"},
        {"Board thumbnail - Large", {222, 150}, "pinterest"},
        {"Board thumbnail - Small", {55, 55}, "pinterest"},
        {"Picture - square", {606, 606}, "reddit"},
        {"Story", {1080, 1920}, "snapchat"},
        {"Geofilter", {1080, 1920}, "snapchat"},
        {"Single image Tweet", {1200, 675}, "twitter"},
        {"2-images Tweet", {700, 800}, "twitter"},
        {"3-images Tweet - first", {700, 800}, "twitter"},
        {"3-images Tweet - 2nd and 3rd", {1200, 686}, "twitter"},
        {"4-images Tweet", {1200, 600}, "twitter"},
        {"Shared link", {1200, 628}, "twitter"},
        {"Profile Header/Banner", {1500, 500}, "twitter"},
        {"Video thumbnail", {1280, 720}, "youtube"},
        {"Community Post", {1, 1}, "youtube"},
    };
    return templates;
}

const std::vector<RatioTemplate>& RatioTemplates::forPlatform(std::string_view platform) {
    static const auto byPlatform = [] {
        std::map<std::string, std::vector<RatioTemplate>, std::less<>> table;
        for (const auto& entry : all()) {
            table[entry.platform].push_back(entry);
        }
        return table;
    }();
    static const std::vector<RatioTemplate> none;
    auto found = byPlatform.find(platform);
    return found == byPlatform.end() ? none : found->second;
}

} // namespace lumeris
