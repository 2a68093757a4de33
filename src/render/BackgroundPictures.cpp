#include "render/BackgroundPictures.h"

#include "app/Logger.h"

#include <array>

namespace lumeris {

namespace {
constexpr std::array<std::string_view, 5> PICTURE_IDS = {"love", "rain", "sky", "charm", "flower"};
} // namespace

BackgroundPictures::BackgroundPictures(std::filesystem::path folder, Encoder encoder)
    : folder_(std::move(folder)), encoder_(std::move(encoder)) {}

bool BackgroundPictures::isPictureID(std::string_view id) {
    for (std::string_view known : PICTURE_IDS) {
        if (id == known) {
            return true;
        }
    }
    return false;
}

std::string BackgroundPictures::dataURL(const std::string& name) {
    {
        std::lock_guard lock(mutex_);
        if (auto found = urls_.find(name); found != urls_.end()) {
            return found->second;
        }
    }
    // Encode outside the lock: two first callers may both encode, and get the same text.
    std::string base64;
    std::error_code error;
    for (const char* extension : {".jpg", ".png"}) {
        const std::filesystem::path candidate = folder_ / (name + extension);
        if (std::filesystem::is_regular_file(candidate, error)) {
            base64 = encoder_ ? encoder_(candidate) : std::string();
            break;
        }
    }
    if (base64.empty()) {
        LOG_ERROR("background picture \"{}\" is missing or unreadable in {}", name,
                  folder_.string());
    }
    std::string url = DATA_URL_PREFIX + base64;
    std::lock_guard lock(mutex_);
    return urls_.try_emplace(name, std::move(url)).first->second;
}

} // namespace lumeris
