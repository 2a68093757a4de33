#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace lumeris {

class SettingsStore;

// The names the program gives the files it writes.
class FileNaming {
public:
    using Clock = std::chrono::system_clock;

    static constexpr const char* FILE_NAME_PREFIX = "Lumeris-";
    static constexpr const char* DATETIME_TOKEN = "{datetime}";
    static constexpr const char* UUID_TOKEN = "{uuid}";
    static constexpr const char* FILE_NAME_TEMPLATE_HELP =
        "Available variables:\n\n{datetime} - Current date and time\n{uuid} - Unique random "
        "UUID string";

    // Local time as "yyyy-MM-dd-HH.mm.ss".
    static std::string timestamp(Clock::time_point when = Clock::now());
    // A fresh random UUID, upper-case and hyphenated.
    static std::string uuidString();
    // "Lumeris-" [prefix "-"] timestamp ["-" suffix] "." extension
    static std::string generateFileName(const std::optional<std::string>& prefix,
                                        const std::optional<std::string>& suffix,
                                        const std::string& extension,
                                        Clock::time_point when = Clock::now());
    // Replaces every "{datetime}" with the timestamp and every "{uuid}" with one UUID; any other
    // text stays as typed.
    static std::string expandFileNameTemplate(const std::string& fileNameTemplate,
                                              Clock::time_point when = Clock::now());
    // The name an editor gives its output: the user's template (with ".png" appended unless it
    // ends so) when SettingKeys::ENABLE_DEFAULT_FILE_NAME is on, else a generated name.
    static std::string outputFileName(const SettingsStore& settings,
                                      Clock::time_point when = Clock::now());
};

} // namespace lumeris
