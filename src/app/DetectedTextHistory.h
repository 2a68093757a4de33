#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <string>

namespace lumeris {

// The texts recognised in recent screenshots, newest first, as the status menu offers them for
// copying. It lives in memory only and starts empty at each launch.
class DetectedTextHistory {
public:
    static constexpr std::size_t SIZE = 5;
    static constexpr std::size_t TITLE_LENGTH = 50;
    static constexpr const char* EMPTY_TITLE = "(Empty)";

    // One of the menu's five entries; an unused one is disabled and copies nothing.
    struct Entry {
        std::string title;
        std::string text;
        bool enabled = false;
    };

    // Puts `text` in front; the oldest beyond five go. The same text twice is kept twice.
    void add(std::string text);

    // Position 0 is the newest.
    std::array<Entry, SIZE> entries() const;

    // The first 50 characters (not bytes), with "…" when more followed.
    static std::string title(const std::string& text);
    // What the confirmation bezel says after a copy: "12 chars Copied".
    static std::string copiedMessage(const std::string& text);

private:
    std::deque<std::string> texts_;
};

} // namespace lumeris
