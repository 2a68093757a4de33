#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace lumeris {

// `lumeris preset`: lists, saves and deletes the named looks of the editor's preset menu.
class PresetCommand {
public:
    static constexpr int EXIT_DONE = 0;
    static constexpr int EXIT_FAILED = 1;
    static constexpr int EXIT_USAGE = 2;
    // The running application's name on the session bus.
    static constexpr const char* APPLICATION_ID = "app.lumeris.Lumeris";
    // The running application's action that stores a presets list (JSON) in its settings.
    static constexpr const char* STORE_PRESETS_ACTION = "store-presets";

    static constexpr const char* USAGE = R"(Usage: lumeris preset list
       lumeris preset save NAME [--set KEY=VALUE]...
       lumeris preset delete NAME

Keeps the named looks the editor's preset menu offers and 'lumeris render --preset NAME' uses.

Commands:
  list          print the preset names, one a line: the stored ones in menu order,
                then the built-in "Default Preset"
  save NAME     store the look of the current settings as NAME, replacing a stored
                preset of that name; each --set KEY=VALUE changes the stored look
                only, not the settings (see 'lumeris render --list-settings')
  delete NAME   remove every stored preset named NAME

Options:
  -h, --help    show this help and exit

While Lumeris runs, save and delete hand the new list to it, so that its editors and
its own settings see the change.

Exit status: 0 on success, 1 when the settings cannot be written,
2 on a usage error (an unknown name among them).
)";

    // The arguments after "preset", against the settings in `settingsFile`; returns the exit
    // status. Names go to `out`, messages to `err`.
    static int run(const std::vector<std::string>& arguments,
                   const std::filesystem::path& settingsFile, std::ostream& out, std::ostream& err);
};

} // namespace lumeris
