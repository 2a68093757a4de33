#include "capture/FileNaming.h"

#include "base/GLibHandles.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <string_view>

namespace lumeris {

namespace {

std::string replaceAll(std::string text, std::string_view token, const std::string& by) {
    for (std::size_t at = text.find(token); at != std::string::npos;
         at = text.find(token, at + by.size())) {
        text.replace(at, token.size(), by);
    }
    return text;
}

} // namespace

std::string FileNaming::timestamp(Clock::time_point when) {
    std::time_t seconds = Clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d-%H.%M.%S", &local);
    return text;
}

std::string FileNaming::uuidString() {
    GCharPtr uuid(g_uuid_string_random());
    std::string text(uuid.get());
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string FileNaming::generateFileName(const std::optional<std::string>& prefix,
                                         const std::optional<std::string>& suffix,
                                         const std::string& extension, Clock::time_point when) {
    std::string name = FILE_NAME_PREFIX;
    if (prefix) {
        name += *prefix + "-";
    }
    name += timestamp(when);
    if (suffix) {
        name += "-" + *suffix;
    }
    return name + "." + extension;
}

std::string FileNaming::expandFileNameTemplate(const std::string& fileNameTemplate,
                                               Clock::time_point when) {
    std::string name = replaceAll(fileNameTemplate, DATETIME_TOKEN, timestamp(when));
    if (name.find(UUID_TOKEN) != std::string::npos) {
        name = replaceAll(std::move(name), UUID_TOKEN, uuidString());
    }
    return name;
}

std::string FileNaming::outputFileName(const SettingsStore& settings, Clock::time_point when) {
    if (!settings.boolValue(SettingKeys::ENABLE_DEFAULT_FILE_NAME, false)) {
        return generateFileName(std::nullopt, std::nullopt, "png", when);
    }
    std::string name = expandFileNameTemplate(
        settings.string(SettingKeys::DEFAULT_FILE_NAME, "Lumeris-{datetime}"), when);
    return name.ends_with(".png") ? name : name + ".png";
}

} // namespace lumeris
