#pragma once

#include <memory>
#include <string>
#include <sys/types.h>

namespace lumeris {

// An Xvfb server of our own, for drawing where there is no display (servers, CI, cron jobs).
// The server lives as long as this object.
class PrivateXServer {
public:
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // Whether an Xvfb executable is on the PATH.
    static bool available();

    // Starts Xvfb on a free display number; none, with the reason in `error`, when it does not
    // come up within a few seconds.
    static std::unique_ptr<PrivateXServer> start(std::string* error = nullptr);

    // ":N", for $DISPLAY.
    const std::string& display() const { return display_; }

private:
    PrivateXServer(pid_t pid, std::string display) : pid_(pid), display_(std::move(display)) {}

    pid_t pid_ = -1;
    std::string display_;
};

} // namespace lumeris
