#include "cli/RenderOptions.h"

#include "capture/FileNaming.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace lumeris {

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
            auto equals = value ? value->find('=') : std::string::npos;
            if (equals == std::string::npos || equals == 0) {
                return std::string("--set takes KEY=VALUE");
            }
            options.overrides.emplace_back(value->substr(0, equals), value->substr(equals + 1));
        } else {
            return "unknown option " + argument;
        }
    }
    if (options.help || options.listSettings) {
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

std::optional<std::string> RenderOptions::applyOverrides(SettingsStore& settings) const {
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
