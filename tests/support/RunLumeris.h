#pragma once

#include <csignal>
#include <filesystem>
#include <glib.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
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
// The run starts in `home`.
struct LumerisRunExtras {
    // When set, standard input is read from the one file and standard output written to the
    // other (run.out stays empty).
    std::filesystem::path pipeIn;
    std::filesystem::path pipeOut;
    // Further environment variables of the run.
    std::vector<std::pair<std::string, std::string>> environment;
};

// The environment of a run: its folders inside `home`.
inline gchar** runEnvironment(const std::filesystem::path& home, const LumerisRunExtras& extras) {
    gchar** environment = g_get_environ();
    for (const char* folder : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
        environment = g_environ_setenv(environment, folder, (home / folder).c_str(), TRUE);
    }
    environment = g_environ_setenv(environment, "HOME", home.c_str(), TRUE);
    environment = g_environ_setenv(environment, "ASAN_OPTIONS", "detect_leaks=0", TRUE);
    environment = g_environ_setenv(environment, "PIPE_IN", extras.pipeIn.c_str(), TRUE);
    environment = g_environ_setenv(environment, "PIPE_OUT", extras.pipeOut.c_str(), TRUE);
    for (const auto& [name, value] : extras.environment) {
        environment = g_environ_setenv(environment, name.c_str(), value.c_str(), TRUE);
    }
    return environment;
}

// The null-terminated argument vector of `argv`, which it points into.
inline std::vector<char*> pointers(std::vector<std::string>& argv) {
    std::vector<char*> all;
    for (auto& argument : argv) {
        all.push_back(argument.data());
    }
    all.push_back(nullptr);
    return all;
}

inline LumerisRun runLumeris(const std::vector<std::string>& arguments,
                             const std::filesystem::path& home,
                             const LumerisRunExtras& extras = {}) {
    std::vector<std::string> argv;
    if (!extras.pipeIn.empty()) {
        argv = {"/bin/sh", "-c", "exec \"$0\" \"$@\" < \"$PIPE_IN\" > \"$PIPE_OUT\""};
    }
    argv.push_back(LUMERIS_EXECUTABLE);
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> argvPointers = pointers(argv);

    gchar** environment = runEnvironment(home, extras);

    LumerisRun run;
    gchar* out = nullptr;
    gchar* err = nullptr;
    gint waitStatus = 0;
    GError* error = nullptr;
    if (g_spawn_sync(home.c_str(), argvPointers.data(), environment, G_SPAWN_DEFAULT, nullptr,
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

// Runs `argv` (the executable first) as runLumeris does, and sends it SIGTERM once its standard
// output so far satisfies `ready`.
template <typename Ready>
LumerisRun runLumerisUntil(std::vector<std::string> argv, const std::filesystem::path& home,
                           Ready ready) {
    std::vector<char*> argvPointers = pointers(argv);
    gchar** environment = runEnvironment(home, {});
    LumerisRun run;
    GPid pid = 0;
    gint out = -1;
    gint err = -1;
    GError* error = nullptr;
    const bool started = g_spawn_async_with_pipes(home.c_str(), argvPointers.data(), environment,
                                                  G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid,
                                                  nullptr, &out, &err, &error);
    g_strfreev(environment);
    if (!started) {
        run.err = error != nullptr ? error->message : "spawn failed";
        g_clear_error(&error);
        return run;
    }
    // Standard error is read once the process has ended: the run writes little to it.
    char buffer[4096];
    bool signalled = false;
    for (ssize_t count; (count = read(out, buffer, sizeof buffer)) > 0;) {
        run.out.append(buffer, static_cast<std::size_t>(count));
        if (!signalled && ready(run.out)) {
            kill(pid, SIGTERM);
            signalled = true;
        }
    }
    for (ssize_t count; (count = read(err, buffer, sizeof buffer)) > 0;) {
        run.err.append(buffer, static_cast<std::size_t>(count));
    }
    close(out);
    close(err);
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    return run;
}
