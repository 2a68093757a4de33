#pragma once

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <glib.h>
#include <poll.h>
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

// What a run may add to its arguments.
struct LumerisRunExtras {
    // When set, standard input is read from the one file and standard output written to the
    // other (run.out stays empty).
    std::filesystem::path pipeIn;
    std::filesystem::path pipeOut;
    // Further environment variables of the run.
    std::vector<std::pair<std::string, std::string>> environment;
};

// Runs the built executable with `arguments`, its settings, cache and data folders inside `home`
// so the tester's own settings play no part. Leak reports are off: GTK and WebKit keep
// process-lifetime allocations that a sanitizer build would otherwise turn into a failed run.
// The run starts in `home`. With `stopWhen`, it is sent SIGTERM once its standard output so far
// satisfies `stopWhen`.
inline LumerisRun runLumeris(const std::vector<std::string>& arguments,
                             const std::filesystem::path& home, const LumerisRunExtras& extras = {},
                             const std::function<bool(const std::string&)>& stopWhen = {}) {
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
    std::vector<std::string> argv;
    if (!extras.pipeIn.empty()) {
        argv = {"/bin/sh", "-c", "exec \"$0\" \"$@\" < \"$PIPE_IN\" > \"$PIPE_OUT\""};
    }
    argv.push_back(LUMERIS_EXECUTABLE);
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> argvPointers;
    for (auto& argument : argv) {
        argvPointers.push_back(argument.data());
    }
    argvPointers.push_back(nullptr);
    LumerisRun run;
    GPid pid = 0;
    pollfd pipes[] = {{-1, POLLIN, 0}, {-1, POLLIN, 0}};
    GError* error = nullptr;
    const bool started = g_spawn_async_with_pipes(home.c_str(), argvPointers.data(), environment,
                                                  G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid,
                                                  nullptr, &pipes[0].fd, &pipes[1].fd, &error);
    g_strfreev(environment);
    if (!started) {
        run.err = error != nullptr ? error->message : "spawn failed";
        g_clear_error(&error);
        return run;
    }
    // Both streams together, so that neither fills its pipe while the other is read.
    std::string* texts[] = {&run.out, &run.err};
    bool signalled = false;
    char buffer[4096];
    for (int open = 2; open > 0;) {
        pipes[0].revents = pipes[1].revents = 0;
        poll(pipes, 2, -1);
        for (int i = 0; i < 2; ++i) {
            if (pipes[i].revents == 0) {
                continue;
            }
            const ssize_t count = read(pipes[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(count));
            } else if (count == 0 || errno != EINTR) {
                close(pipes[i].fd);
                pipes[i].fd = -1; // poll skips it
                --open;
            }
        }
        if (stopWhen && !signalled && stopWhen(run.out)) {
            kill(pid, SIGTERM);
            signalled = true;
        }
    }
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    return run;
}
