#include "render/BackgroundPictures.h"

#include "base/Base64.h"
#include "base/Logger.h"
#include "base/ResourceLocator.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"

#include <array>

namespace lumeris {

namespace {
constexpr std::array<std::string_view, 5> PICTURE_IDS = {"love", "rain", "sky", "charm", "flower"};
} // namespace

BackgroundPictures::BackgroundPictures(std::filesystem::path folder, Encoder encoder)
    : folder_(std::move(folder)), encoder_(std::move(encoder)) {}

BackgroundPictures& BackgroundPictures::shared() {
    static BackgroundPictures pictures(
        ResourceLocator::resourcesFolder().value_or(std::filesystem::path()) / "backgrounds",
        &BackgroundPictures::encodeFile);
    return pictures;
}

std::string BackgroundPictures::encodeFile(const std::filesystem::path& file) {
    std::string error;
    auto picture = ImageReader::read(file, &error);
    if (!picture) {
        LOG_ERROR("background picture {}: {}", file.string(), error);
        return {};
    }
    auto jpeg = ImageEncoder::jpegData(picture->image, JPEG_QUALITY);
    return jpeg.empty() ? std::string() : Base64::encode(jpeg);
}

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
