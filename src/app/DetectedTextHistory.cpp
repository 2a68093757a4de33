#include "app/DetectedTextHistory.h"

#include <glib.h>

namespace lumeris {

namespace {

// Characters as code points; invalid UTF-8 (which recognition never gives) counts by bytes.
std::size_t characterCount(const std::string& text) {
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        return text.size();
    }
    return static_cast<std::size_t>(g_utf8_strlen(text.data(), static_cast<gssize>(text.size())));
}

} // namespace

void DetectedTextHistory::add(std::string text) {
    texts_.push_front(std::move(text));
    while (texts_.size() > SIZE) {
        texts_.pop_back();
    }
}

std::array<DetectedTextHistory::Entry, DetectedTextHistory::SIZE>
DetectedTextHistory::entries() const {
    std::array<Entry, SIZE> entries;
    for (std::size_t position = 0; position < SIZE; ++position) {
        if (position < texts_.size()) {
            entries[position] = Entry{title(texts_[position]), texts_[position], true};
        } else {
            entries[position] = Entry{EMPTY_TITLE, "", false};
        }
    }
    return entries;
}

std::string DetectedTextHistory::title(const std::string& text) {
    if (characterCount(text) <= TITLE_LENGTH) {
        return text;
    }
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        return text.substr(0, TITLE_LENGTH) + "…";
    }
    const char* end = g_utf8_offset_to_pointer(text.data(), TITLE_LENGTH);
    return std::string(text.data(), end) + "…";
}

std::string DetectedTextHistory::copiedMessage(const std::string& text) {
    return std::to_string(characterCount(text)) + " chars Copied";
}

} // namespace lumeris
