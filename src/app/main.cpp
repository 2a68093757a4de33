#include "app/LaunchAtLogin.h"
#include "app/gtk/LumerisApplication.h"
#include "base/BuildInfo.h"
#include "base/Logger.h"
#include "cli/PresetCommand.h"
#include "cli/gtk/RenderCommand.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <vector>

namespace {

constexpr const char* USAGE = R"(Usage: lumeris [OPTION]
       lumeris FILE...
       lumeris render [OPTIONS] FILE...
       lumeris preset list | save NAME [--set KEY=VALUE]... | delete NAME

Lumeris sets screenshots on a background with padding, rounded corners, a shadow,
a watermark and automatic redaction of private details.

Without files Lumeris starts in the tray (or shows the running one's window); files
named open in editor windows, in the running Lumeris when there is one.

Options:
      --capture         select a region or window and open it in an editor
      --capture-window  select a window and open it in an editor
      --capture-copy    select a region or window and copy it framed, without
                        showing the editor
      --from-clipboard  open the clipboard's image in an editor
      --reopen          reopen the picture of the editor closed last
      --hidden          start without opening a window (as the login entry does)
  -h, --help            show this help and exit
  -v, --version         show the version and exit

Commands:
  render           beautify screenshot files without opening the editor
                   (see 'lumeris render --help')
  preset           list, save and delete the editor's named looks
                   (see 'lumeris preset --help')
)";

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "render") {
        return lumeris::RenderCommand::run(std::vector<std::string>(argv + 2, argv + argc));
    }
    if (argc > 1 && std::string_view(argv[1]) == "preset") {
        lumeris::Logger::setUp(lumeris::Logger::defaultLogDirectory(), spdlog::level::off);
        return lumeris::PresetCommand::run(std::vector<std::string>(argv + 2, argv + argc),
                                           lumeris::SettingsStore::defaultFile(), std::cout,
                                           std::cerr);
    }
    bool files = false;
    bool hidden = false;
    bool verb = false;
    for (int index = 1; index < argc; ++index) {
        std::string_view argument(argv[index]);
        if (argument == lumeris::LaunchAtLogin::HIDDEN_OPTION) {
            hidden = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (argument == "-v" || argument == "--version") {
            std::printf("lumeris %s (%s)\n", lumeris::build::VERSION, lumeris::build::BUILD_NUMBER);
            return 0;
        }
        const auto& verbs = lumeris::LumerisApplication::VERBS;
        if (std::any_of(std::begin(verbs), std::end(verbs), [argument](const char* name) {
                return argument.starts_with("--") && argument.substr(2) == name;
            })) {
            verb = true;
            continue;
        }
        if (argument.starts_with("-")) {
            std::fprintf(stderr, "lumeris: unknown option '%s'\n\n%s", argv[index], USAGE);
            return 2;
        }
        files = true;
    }
    if (hidden && (files || verb)) {
        std::fprintf(stderr, "lumeris: --hidden opens no files\n\n%s", USAGE);
        return 2;
    }
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY")) {
        std::fputs(verb ? "lumeris: capture and the clipboard need a desktop session\n"
                        : "lumeris: the tray and its editor windows need a desktop session; "
                          "'lumeris render' works without one\n",
                   stderr);
        return 1;
    }
    auto application = lumeris::LumerisApplication::create();
    if (hidden) {
        // Started at login while Lumeris already runs: nothing to bring forward.
        if (!application->register_application() || application->is_remote()) {
            return 0;
        }
        application->setStartHidden(true);
    }
    // Without the option: GApplication would refuse "--hidden" as unknown.
    std::vector<char*> arguments;
    for (int index = 0; index < argc; ++index) {
        if (std::string_view(argv[index]) != lumeris::LaunchAtLogin::HIDDEN_OPTION) {
            arguments.push_back(argv[index]);
        }
    }
    return application->run(static_cast<int>(arguments.size()), arguments.data());
}
