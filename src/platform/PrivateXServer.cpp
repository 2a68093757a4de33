#include "platform/PrivateXServer.h"

#include "base/GLibHandles.h"
#include "base/Logger.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <glib.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumeris {

namespace {

constexpr int START_TIMEOUT_MS = 10000;

// The display number Xvfb writes to the -displayfd pipe once it accepts connections.
std::optional<std::string> readDisplayNumber(int fd, std::string* error) {
    std::string text;
    char buffer[32];
    while (text.find('\n') == std::string::npos) {
        pollfd waiting{fd, POLLIN, 0};
        int ready = poll(&waiting, 1, START_TIMEOUT_MS);
        if (ready <= 0) {
            *error = ready == 0 ? "Xvfb did not start in time" : std::strerror(errno);
            return std::nullopt;
        }
        ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) {
            *error = "Xvfb exited while starting";
            return std::nullopt;
        }
        text.append(buffer, static_cast<size_t>(count));
    }
    text.erase(text.find('\n'));
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        *error = "Xvfb reported no display number";
        return std::nullopt;
    }
    return ":" + text;
}

} // namespace

bool PrivateXServer::available() {
    return GCharPtr(g_find_program_in_path("Xvfb")) != nullptr;
}

std::unique_ptr<PrivateXServer> PrivateXServer::start(std::string* error) {
    std::string ignored;
    std::string& reason = error != nullptr ? *error : ignored;
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    const std::string fdText = std::to_string(pipeEnds[1]);
    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
        reason = std::strerror(errno);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return nullptr;
    }
    if (pid == 0) {
        // Its own process group keeps a Ctrl+C at the terminal from killing it under a batch that
        // is still finishing; the parent-death signal stops it even when the parent is killed
        // outright (the parent's main thread, which starts it, lives as long as the process).
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(127);
        }
        // Only the write end may reach Xvfb; its output would only clutter the terminal.
        fcntl(pipeEnds[1], F_SETFD, 0);
        int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fdText.c_str(), "-screen", "0", "3840x2160x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    auto display = readDisplayNumber(pipeEnds[0], &reason);
    close(pipeEnds[0]);
    std::unique_ptr<PrivateXServer> server(new PrivateXServer(pid, display.value_or("")));
    if (!display) {
        return nullptr; // the destructor stops what was started
    }
    LOG_INFO("private X server on {}", *display);
    return server;
}

PrivateXServer::~PrivateXServer() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace lumeris
