#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace lumeris {

class SettingsStore;

// The desktop picture and the custom background file as the style sheet refers to them: copies
// in a folder the renderer may read, kept for the session.
class BackgroundReferences {
public:
    BackgroundReferences(SettingsStore& settings, std::filesystem::path rendererFolder);

    // A new editor: no desktop copy yet ("settings.desktop-cache" emptied), the custom copy of
    // the last session ("settings.custom-path-cache") when there is one.
    void start();

    // The renderer's copy of the desktop picture cache, made when missing; none without a cache.
    std::optional<std::string> getDesktopCachedPath();
    // The renderer's copy of the custom background with "?cacheID=custom-N", so that a newly
    // chosen file is never shown from the renderer's cache of the old one.
    std::optional<std::string> getCustomPNGCachedPath();

    // The desktop picture was looked up afresh.
    void desktopChanged() { cachedDesktopPath_.reset(); }
    // A new custom background file was chosen.
    void customFileChosen();

private:
    SettingsStore& settings_;
    std::filesystem::path rendererFolder_;
    std::optional<std::filesystem::path> cachedDesktopPath_;
    std::optional<std::filesystem::path> cachedCustomPath_;
    int cachedCustomID_ = 0;
};

} // namespace lumeris
