#pragma once

namespace lumeris {

// The watch over the capture tools while Lumeris runs: every few seconds it is told whether a
// tool is available, and after the third failing check in a row the permission window is due
// again (on Linux a relaunch would not change the answer).
class PermissionWatch {
public:
    static constexpr unsigned INTERVAL_SECONDS = 5;
    static constexpr int FAILURES_BEFORE_WINDOW = 2;

    // True when the window should be shown now.
    bool checked(bool available);

private:
    int failures_ = 0;
};

} // namespace lumeris
