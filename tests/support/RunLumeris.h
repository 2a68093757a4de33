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
// With `pipeIn` and `pipeOut`, standard input is read from the one file and standard output
// written to the other (run.out stays empty).
inline LumerisRun runLumeris(const std::vector<std::string>& arguments,
                             const std::filesystem::path& home,
                             const std::filesystem::path& workingFolder = {},
                             const std::filesystem::path& pipeIn = {},
                             const std::filesystem::path& pipeOut = {}) {
    std::vector<std::string> argv;
    if (!pipeIn.empty()) {
        argv = {"/bin/sh", "-c", "exec \"$0\" \"$@\" < \"$PIPE_IN\" > \"$PIPE_OUT\""};
    }
    argv.push_back(LUMERIS_EXECUTABLE);
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
    environment = g_environ_setenv(environment, "PIPE_IN", pipeIn.c_str(), TRUE);
    environment = g_environ_setenv(environment, "PIPE_OUT", pipeOut.c_str(), TRUE);

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
