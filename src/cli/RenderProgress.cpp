#include "cli/RenderProgress.h"

#include "base/GLibHandles.h"

#include <glib.h>

namespace lumeris {

namespace {

constexpr std::string_view CLEAR_LINE = "\r\033[K";
constexpr std::string_view ELLIPSIS = "...";
constexpr long BAR_CELLS = 24;

// Characters, not bytes: a name's UTF-8 must not be cut inside a character.
long characters(std::string_view text) {
    return g_utf8_strlen(text.data(), static_cast<gssize>(text.size()));
}

// The end of `text` in at most `room` characters, "..." in front when it had to be cut.
std::string lastCharacters(std::string_view text, long room) {
    const long length = characters(text);
    if (length <= room) {
        return std::string(text);
    }
    const long kept = room - static_cast<long>(ELLIPSIS.size());
    if (kept <= 0) {
        return "";
    }
    const char* from = g_utf8_offset_to_pointer(text.data(), length - kept);
    return std::string(ELLIPSIS) + std::string(from, text.data() + text.size());
}

} // namespace

RenderProgress::RenderProgress(std::size_t total, Style style, int columns)
    : total_(total), style_(style), columns_(columns) {}

std::optional<std::chrono::seconds> RenderProgress::remaining(std::size_t done, std::size_t total,
                                                              std::chrono::milliseconds elapsed) {
    if (done == 0 || done > total) {
        return std::nullopt;
    }
    const auto left = elapsed * static_cast<long>(total - done) / static_cast<long>(done);
    // Rounded up: "0 s left" while work remains would be wrong.
    return std::chrono::ceil<std::chrono::seconds>(left);
}

std::string RenderProgress::durationText(std::chrono::seconds duration) {
    const long total = duration.count();
    char text[32];
    if (total < 60) {
        g_snprintf(text, sizeof text, "%ld s", total);
    } else if (total < 3600) {
        g_snprintf(text, sizeof text, "%ld min %02ld s", total / 60, total % 60);
    } else {
        g_snprintf(text, sizeof text, "%ld h %02ld min", total / 3600, total % 3600 / 60);
    }
    return text;
}

std::string RenderProgress::start(std::size_t index, std::string_view input,
                                  std::chrono::milliseconds elapsed) {
    if (style_ == Style::Lines) {
        return "[" + std::to_string(index + 1) + "/" + std::to_string(total_) + "] " +
               std::string(input) + "\n";
    }
    const long filled = static_cast<long>(index) * BAR_CELLS / static_cast<long>(total_);
    const std::string cells =
        " [" + std::string(filled, '#') + std::string(BAR_CELLS - filled, '.') + "]";
    const auto left = remaining(index, total_, elapsed);
    const std::string timeLeft = left ? " " + durationText(*left) + " left" : "";
    // The line never reaches the last column (that would wrap it): on a narrow terminal the bar
    // gives way first, then the time left, and the name is cut from the front.
    const long width = columns_ - 1;
    const std::string counter = std::to_string(index + 1) + "/" + std::to_string(total_);
    const bool withTime = characters(counter) + characters(timeLeft) <= width;
    const bool withCells =
        withTime && characters(counter) + characters(cells) + characters(timeLeft) <= width;
    bar_ = counter + (withCells ? cells : "") + (withTime ? timeLeft : "");
    // File names need not be UTF-8; the terminal gets replacement characters instead.
    const GCharPtr valid(g_utf8_make_valid(input.data(), static_cast<gssize>(input.size())));
    const std::string name = lastCharacters(valid.get(), width - characters(bar_) - 2);
    if (!name.empty()) {
        bar_ += "  " + name;
    }
    return std::string(CLEAR_LINE) + bar_;
}

std::string RenderProgress::clear() const {
    return style_ == Style::Bar && !bar_.empty() ? std::string(CLEAR_LINE) : std::string();
}

std::string RenderProgress::redraw() const {
    return style_ == Style::Bar ? bar_ : std::string();
}

} // namespace lumeris
