#pragma once

#include "presets/RatioTemplate.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace lumeris {

class SettingsStore;

// The arguments of `lumeris render`.
struct RenderOptions {
    // As an input or as --output: standard input or standard output.
    static constexpr const char* STANDARD_STREAM = "-";

    static constexpr const char* USAGE = R"(Usage: lumeris render [OPTIONS] FILE...

Beautifies screenshots without opening the editor, with the look of the stored settings.
FILE may be - for standard input, and --output - writes the picture to standard output.

Options:
  -o, --output FILE      write the result to FILE (one input only)
  -d, --output-dir DIR   write results into DIR, named like the editor's saves
                         (default: the current folder)
      --jpeg             write JPEG instead of PNG
      --scale N          pixels per point of the result, 1 to 4 (default 1)
      --wrap             lay the words of a wide, low screenshot out again in a
                         narrow block before composing it
      --preset NAME      use the look of a stored preset (see 'lumeris preset list')
      --size PLATFORM/NAME
                         the exact size of a social-media format, e.g.
                         --size 'twitter/Single image Tweet' (see --list-sizes)
      --set KEY=VALUE    use VALUE for a setting in this run only, e.g.
                         --set settings.padding=40 --set settings.background-id=custom;
                         applied after --preset and --size
      --list-settings    print every setting --set accepts, its type and the value
                         this run would use (after the other options), and exit
      --list-sizes       print every PLATFORM/NAME --size accepts, with the size (or, for
                         the few formats that are proportions, the ratio) it gives, and exit
  -q, --quiet            print nothing but errors
  -h, --help             show this help and exit

Inputs are regular files (or standard input) of at most 256 MB; pictures and the
canvases composed from them (padding, ratio and --scale included) of at most
32 million pixels, about 1 GB of memory in all.

Exit status: 0 when every input was rendered, 1 when some failed, 2 on a usage error,
130 or 143 when Ctrl+C or SIGTERM ended the run (what was written stays, nothing
half-written or temporary does).
)";

    std::vector<std::string> inputs;
    std::optional<std::string> output;
    std::optional<std::string> outputDir;
    bool jpeg = false;
    int scale = 1;
    using Overrides = std::vector<std::pair<std::string, std::string>>;
    Overrides overrides;
    std::optional<std::string> preset;
    std::optional<RatioTemplate> size;
    bool wrap = false;
    bool quiet = false;
    bool help = false;
    bool listSettings = false;
    bool listSizes = false;

    // The options, or the usage error to print.
    static std::variant<RenderOptions, std::string>
    parse(const std::vector<std::string>& arguments);

    // "KEY=VALUE" of --set, or nothing when there is no key.
    static std::optional<std::pair<std::string, std::string>>
    parseOverride(const std::string& text);
    // Stores every value in `settings`, typed as the key is stored. The first unknown key or badly
    // typed value is returned as the message to print; nothing is stored then.
    static std::optional<std::string> applyOverrides(const Overrides& overrides,
                                                     SettingsStore& settings);
    // "twitter/Single image Tweet": a built-in format by platform and name, the name's case and
    // dashes as the user types them; else the message naming what exists.
    static std::variant<RatioTemplate, std::string> findSize(const std::string& platformAndName);
    // The "settings.ratio" a format gives: its exact size "WxH", or "W:H" for the few formats
    // that are proportions.
    static std::string sizeSetting(const RatioTemplate& format);

    // The run's look in `settings`: the preset, then the size, then every --set. An unknown preset
    // or a bad --set is returned as the usage error to print.
    std::optional<std::string> applyLook(SettingsStore& settings) const;

    // Where the picture goes: --output as given; else `fileName` (the editor's name for it, with
    // ".jpg" for JPEG) in --output-dir or `currentFolder`, and from the second `attempt` on (the
    // name was taken when it was claimed) that name with a UUID.
    std::filesystem::path outputPathFor(const std::string& fileName,
                                        const std::filesystem::path& currentFolder,
                                        int attempt = 0) const;
};

} // namespace lumeris
