#include "capture/RecentlyClosed.h"

namespace lumeris {

void RecentlyClosed::add(const std::filesystem::path& picture) {
    pictures_.push_back(picture);
    while (pictures_.size() > CAPACITY) {
        pictures_.pop_front();
    }
}

std::optional<std::filesystem::path> RecentlyClosed::reopen() {
    if (pictures_.empty()) {
        return std::nullopt;
    }
    auto newest = std::move(pictures_.back());
    pictures_.pop_back();
    return newest;
}

} // namespace lumeris
