#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumeris {

// What `lumeris render` shows on standard error while it works through several inputs: on a
// terminal one bar redrawn in place, with the current file and the time left; elsewhere a plain
// line per input. It only makes the text; the caller writes it.
class RenderProgress {
public:
    enum class Style { Bar, Lines };

    // `columns`: the terminal's width (the bar's line never fills the last column, which would
    // wrap it).
    RenderProgress(std::size_t total, Style style, int columns = 80);

    // Shows input `index` (from 0) starting, `elapsed` after the first one started.
    std::string start(std::size_t index, std::string_view input, std::chrono::milliseconds elapsed);

    // Other output written while the bar shows goes between these two: the first takes the bar
    // away, the second puts it back. Both are empty for plain lines.
    std::string clear() const;
    std::string redraw() const;

    // The time the rest takes at the pace of the inputs done so far; nothing before one is done.
    static std::optional<std::chrono::seconds> remaining(std::size_t done, std::size_t total,
                                                         std::chrono::milliseconds elapsed);

    // "45 s", "2 min 05 s", "1 h 02 min".
    static std::string durationText(std::chrono::seconds duration);

private:
    std::size_t total_;
    Style style_;
    int columns_;
    std::string bar_;
};

} // namespace lumeris
