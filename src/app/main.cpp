#include "app/LaunchAtLogin.h"
#include "app/gtk/LumerisApplication.h"
#include "base/BuildInfo.h"
#include "cli/gtk/RenderCommand.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

constexpr const char* USAGE = R"(Usage: lumeris [OPTION]
       lumeris FILE...
       lumeris render [OPTIONS] FILE...

Lumeris sets screenshots on a background with padding, rounded corners, a shadow,
a watermark and automatic redaction of private details.

Without files Lumeris starts in the tray (or shows the running one's window); files
named open in editor windows, in the running Lumeris when there is one.

Options:
      --hidden     start without opening a window (as the login entry does)
  -h, --help       show this help and exit
  -v, --version    show the version and exit

Commands:
  render           beautify screenshot files without opening the editor
                   (see 'lumeris render --help')
)";

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "render") {
        return lumeris::RenderCommand::run(std::vector<std::string>(argv + 2, argv + argc));
    }
    bool files = false;
    bool hidden = false;
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
        if (argument.starts_with("-")) {
            std::fprintf(stderr, "lumeris: unknown option '%s'\n\n%s", argv[index], USAGE);
            return 2;
        }
        files = true;
    }
    if (hidden && files) {
        std::fprintf(stderr, "lumeris: --hidden opens no files\n\n%s", USAGE);
        return 2;
    }
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY")) {
        std::fputs("lumeris: the tray and its editor windows need a desktop session; "
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
