#include "editor/BackgroundReferences.h"

#include "base/Logger.h"
#include "capture/CustomBackgroundCache.h"
#include "capture/DesktopPicture.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

namespace fs = std::filesystem;

namespace {

bool isFile(const std::optional<fs::path>& path) {
    std::error_code ignored;
    return path && fs::exists(*path, ignored);
}

} // namespace

BackgroundReferences::BackgroundReferences(SettingsStore& settings, fs::path rendererFolder)
    : settings_(settings), rendererFolder_(std::move(rendererFolder)) {}

void BackgroundReferences::start() {
    settings_.set(SettingKeys::DESKTOP_CACHE, std::string());
    cachedDesktopPath_.reset();
    const std::string custom = settings_.string(SettingKeys::CUSTOM_PATH_CACHE, "");
    cachedCustomPath_ = custom.empty() ? std::nullopt : std::optional<fs::path>(custom);
    cachedCustomID_ = 0;
}

std::optional<std::string> BackgroundReferences::getDesktopCachedPath() {
    if (isFile(cachedDesktopPath_)) {
        return cachedDesktopPath_->string();
    }
    const fs::path cache = DesktopPicture::desktopCachePath(settings_);
    if (!isFile(cache)) {
        return std::nullopt;
    }
    cachedDesktopPath_ =
        CustomBackgroundCache::copyToRendererData(cache, "desktop", rendererFolder_);
    if (!cachedDesktopPath_) {
        return std::nullopt;
    }
    settings_.set(SettingKeys::DESKTOP_CACHE, cachedDesktopPath_->string());
    return cachedDesktopPath_->string();
}

std::optional<std::string> BackgroundReferences::getCustomPNGCachedPath() {
    const std::string suffix = "?cacheID=custom-" + std::to_string(cachedCustomID_);
    if (isFile(cachedCustomPath_)) {
        return cachedCustomPath_->string() + suffix;
    }
    auto cached = CustomBackgroundCache::getCachedCustomBackgroundPath(settings_);
    if (!cached) {
        LOG_ERROR("no custom background path found");
        return std::nullopt;
    }
    cachedCustomPath_ =
        CustomBackgroundCache::copyToRendererData(*cached, "custom", rendererFolder_);
    if (!cachedCustomPath_) {
        return std::nullopt;
    }
    settings_.set(SettingKeys::CUSTOM_PATH_CACHE, cachedCustomPath_->string());
    return cachedCustomPath_->string() + suffix;
}

void BackgroundReferences::customFileChosen() {
    cachedCustomPath_.reset();
    ++cachedCustomID_;
}

} // namespace lumeris
