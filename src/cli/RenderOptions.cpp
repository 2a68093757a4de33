#include "cli/RenderOptions.h"

#include "capture/FileNaming.h"
#include "presets/EditorPresetManager.h"
#include "presets/RatioTemplates.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cctype>

namespace lumeris {

namespace {

// Names compared as typed: any case, and a hyphen for the en dash some names carry.
std::string loose(std::string_view name) {
    std::string result;
    for (std::size_t index = 0; index < name.size(); ++index) {
        if (name.substr(index, 3) == "\u2013") {
            result += '-';
            index += 2;
        } else {
            result += static_cast<char>(std::tolower(static_cast<unsigned char>(name[index])));
        }
    }
    return result;
}

std::string quotedList(const std::vector<std::string>& names) {
    std::string list;
    for (const auto& name : names) {
        list += (list.empty() ? "'" : ", '") + name + "'";
    }
    return list;
}

} // namespace

std::variant<RenderOptions, std::string>
RenderOptions::parse(const std::vector<std::string>& arguments) {
    RenderOptions options;
    bool onlyFiles = false;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        auto next = [&]() -> std::optional<std::string> {
            if (index + 1 >= arguments.size()) {
                return std::nullopt;
            }
            return arguments[++index];
        };
        if (onlyFiles || argument == "-" || argument.empty() || argument[0] != '-') {
            options.inputs.push_back(argument);
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "--list-settings") {
            options.listSettings = true;
        } else if (argument == "--list-sizes") {
            options.listSizes = true;
        } else if (argument == "--preset") {
            options.preset = next();
            if (!options.preset || options.preset->empty()) {
                return std::string("--preset needs a preset name");
            }
        } else if (argument == "--size") {
            auto value = next();
            if (!value) {
                return std::string("--size takes PLATFORM/NAME; see --list-sizes");
            }
            auto found = findSize(*value);
            if (auto* error = std::get_if<std::string>(&found)) {
                return *error;
            }
            options.size = std::get<RatioTemplate>(found);
        } else if (argument == "-q" || argument == "--quiet") {
            options.quiet = true;
        } else if (argument == "--wrap") {
            options.wrap = true;
        } else if (argument == "--jpeg") {
            options.jpeg = true;
        } else if (argument == "-o" || argument == "--output") {
            options.output = next();
            if (!options.output || options.output->empty()) {
                return std::string("--output needs a file name");
            }
        } else if (argument == "-d" || argument == "--output-dir") {
            options.outputDir = next();
            if (!options.outputDir || options.outputDir->empty()) {
                return std::string("--output-dir needs a folder");
            }
        } else if (argument == "--scale") {
            auto value = next();
            if (!value || value->size() != 1 || (*value)[0] < '1' || (*value)[0] > '4') {
                return std::string("--scale takes a whole number from 1 to 4");
            }
            options.scale = (*value)[0] - '0';
        } else if (argument == "--set") {
            auto value = next();
            auto override = value ? parseOverride(*value) : std::nullopt;
            if (!override) {
                return std::string("--set takes KEY=VALUE");
            }
            options.overrides.push_back(std::move(*override));
        } else {
            return "unknown option " + argument;
        }
    }
    if (options.help || options.listSettings || options.listSizes) {
        return options;
    }
    if (options.inputs.empty()) {
        return std::string("no input files");
    }
    if (options.output && options.inputs.size() > 1) {
        return std::string("--output takes one input; use --output-dir for several");
    }
    if (std::count(options.inputs.begin(), options.inputs.end(), STANDARD_STREAM) > 1) {
        return std::string("standard input (-) can be read once");
    }
    if (options.output && options.outputDir) {
        return std::string("--output and --output-dir exclude each other");
    }
    return options;
}

std::optional<std::pair<std::string, std::string>>
RenderOptions::parseOverride(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        return std::nullopt;
    }
    return std::pair(text.substr(0, equals), text.substr(equals + 1));
}

std::variant<RatioTemplate, std::string>
RenderOptions::findSize(const std::string& platformAndName) {
    const auto slash = platformAndName.find('/');
    if (slash == std::string::npos) {
        return std::string("--size takes PLATFORM/NAME; see --list-sizes");
    }
    const std::string platform = loose(platformAndName.substr(0, slash));
    const auto& templates = RatioTemplates::forPlatform(platform);
    if (templates.empty()) {
        std::vector<std::string> platforms;
        for (const auto& entry : RatioTemplates::all()) {
            if (platforms.empty() || platforms.back() != entry.platform) {
                platforms.push_back(entry.platform);
            }
        }
        return "--size: no platform '" + platformAndName.substr(0, slash) +
               "'; the platforms are " + quotedList(platforms);
    }
    const std::string name = loose(platformAndName.substr(slash + 1));
    std::vector<std::string> names;
    for (const auto& entry : templates) {
        if (loose(entry.name) == name) {
            return entry;
        }
        names.push_back(entry.name);
    }
    return "--size: " + platform + " has no size '" + platformAndName.substr(slash + 1) +
           "'; its sizes are " + quotedList(names);
}

std::string RenderOptions::sizeSetting(const RatioTemplate& format) {
    // A few formats are proportions (Pin (1) is 2 × 3): a canvas of that many points would
    // hold nothing.
    constexpr int SMALLEST_SIZE = 20;
    const bool proportion = format.size.w < SMALLEST_SIZE && format.size.h < SMALLEST_SIZE;
    return std::to_string(format.size.w) + (proportion ? ":" : "x") +
           std::to_string(format.size.h);
}

std::optional<std::string> RenderOptions::applyLook(SettingsStore& settings) const {
    if (preset) {
        EditorPresetManager manager(settings);
        const auto stored = manager.readPresets();
        std::optional<EditorPreset> chosen;
        std::vector<std::string> names;
        for (const auto& entry : stored.value_or(std::vector<EditorPreset>{})) {
            if (!chosen && entry.name == *preset) {
                chosen = entry;
            }
            names.push_back(entry.name);
        }
        if (*preset == EditorPreset::DEFAULT_NAME) {
            chosen = EditorPreset::builtInDefault(
                settings.string(SettingKeys::CUSTOM_BACKGROUND_PATH, ""));
        }
        names.emplace_back(EditorPreset::DEFAULT_NAME);
        if (!chosen) {
            return "no preset named '" + *preset + "'; the presets are " + quotedList(names) +
                   (stored ? std::string()
                           : " (the stored presets cannot be read; they are kept in " +
                                 manager.setAsidePath().string() + ")");
        }
        chosen->writeSettings(settings);
    }
    if (size) {
        settings.set(SettingKeys::RATIO, sizeSetting(*size));
    }
    return applyOverrides(overrides, settings);
}

std::optional<std::string> RenderOptions::applyOverrides(const Overrides& overrides,
                                                         SettingsStore& settings) {
    std::vector<std::pair<std::string, SettingValue>> values;
    for (const auto& [key, text] : overrides) {
        std::string error;
        auto value = SettingKeys::parse(key, text, &error);
        if (!value) {
            return "--set " + key + ": " + error;
        }
        values.emplace_back(key, std::move(*value));
    }
    for (const auto& [key, value] : values) {
        settings.set(key, value);
    }
    return std::nullopt;
}

std::filesystem::path RenderOptions::outputPathFor(const std::string& fileName,
                                                   const std::filesystem::path& currentFolder,
                                                   int attempt) const {
    if (output) {
        return *output;
    }
    const std::filesystem::path folder =
        outputDir ? std::filesystem::path(*outputDir) : currentFolder;
    std::filesystem::path name(fileName);
    if (jpeg) {
        name.replace_extension(".jpg");
    }
    if (attempt == 0) {
        return folder / name;
    }
    return folder /
           (name.stem().string() + "-" + FileNaming::uuidString() + name.extension().string());
}

} // namespace lumeris
