#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <optional>

namespace lumeris {

// The pictures of the editors closed last, newest at the back; only the newest ten are kept.
// In memory only. Main thread.
class RecentlyClosed {
public:
    static constexpr std::size_t CAPACITY = 10;
    static constexpr const char* NO_MORE = "No more";
    static constexpr const char* NONE_FOUND = "No recently closed screenshot found.";

    void add(const std::filesystem::path& picture);
    // Removes and returns the newest; none when the list is empty.
    std::optional<std::filesystem::path> reopen();
    std::size_t size() const { return pictures_.size(); }

private:
    std::deque<std::filesystem::path> pictures_;
};

} // namespace lumeris
