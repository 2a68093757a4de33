#include "base/BuildInfo.h"
#include "base/Logger.h"
#include "cli/gtk/RenderCommand.h"
#include "settings/SettingsStore.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

constexpr const char* USAGE = R"(Usage: lumeris [OPTION]
       lumeris render [OPTIONS] FILE...

Lumeris sets screenshots on a background with padding, rounded corners, a shadow,
a watermark and automatic redaction of private details.

Options:
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
    for (int index = 1; index < argc; ++index) {
        std::string_view argument(argv[index]);
        if (argument == "-h" || argument == "--help") {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (argument == "-v" || argument == "--version") {
            std::printf("lumeris %s (%s)\n", lumeris::build::VERSION, lumeris::build::BUILD_NUMBER);
            return 0;
        }
        std::fprintf(stderr, "lumeris: unknown option '%s'\n\n%s", argv[index], USAGE);
        return 2;
    }

    lumeris::Logger::setUp(lumeris::Logger::defaultLogDirectory());
    lumeris::SettingsStore settings;
    settings.registerDefaultSettings();
    LOG_INFO("Settings are at {}", settings.file().string());
    std::fputs("Lumeris is not yet able to run as a tray application; see --help.\n", stderr);
    return 0;
}
