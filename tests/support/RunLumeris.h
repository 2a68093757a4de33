#pragma once

#include <filesystem>
#include <glib.h>
#include <string>
#include <sys/wait.h>
#include <vector>

// The outcome of one run of the lumeris executable.
struct LumerisRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built executable with `arguments`, its settings, cache and data folders inside `home`
// so the tester's own settings play no part. Leak reports are off: GTK and WebKit keep
// process-lifetime allocations that a sanitizer build would otherwise turn into a failed run.
inline LumerisRun runLumeris(const std::vector<std::string>& arguments,
                             const std::filesystem::path& home,
                             const std::filesystem::path& workingFolder = {}) {
    std::vector<std::string> argv{LUMERIS_EXECUTABLE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> argvPointers;
    for (auto& argument : argv) {
        argvPointers.push_back(argument.data());
    }
    argvPointers.push_back(nullptr);

    gchar** environment = g_get_environ();
    for (const char* folder : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
        environment = g_environ_setenv(environment, folder, (home / folder).c_str(), TRUE);
    }
    environment = g_environ_setenv(environment, "HOME", home.c_str(), TRUE);
    environment = g_environ_setenv(environment, "ASAN_OPTIONS", "detect_leaks=0", TRUE);

    LumerisRun run;
    gchar* out = nullptr;
    gchar* err = nullptr;
    gint waitStatus = 0;
    GError* error = nullptr;
    const std::string folder = workingFolder.empty() ? home.string() : workingFolder.string();
    if (g_spawn_sync(folder.c_str(), argvPointers.data(), environment, G_SPAWN_DEFAULT, nullptr,
                     nullptr, &out, &err, &waitStatus, &error)) {
        run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
        run.out = out != nullptr ? out : "";
        run.err = err != nullptr ? err : "";
    } else {
        run.err = error != nullptr ? error->message : "spawn failed";
        g_clear_error(&error);
    }
    g_free(out);
    g_free(err);
    g_strfreev(environment);
    return run;
}
