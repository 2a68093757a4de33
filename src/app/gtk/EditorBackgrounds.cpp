#include "app/gtk/EditorBackgrounds.h"

#include "base/AtomicFile.h"
#include "base/Logger.h"
#include "base/ResourceLocator.h"
#include "capture/CustomBackgroundCache.h"
#include "capture/DesktopPicture.h"
#include "capture/WallpaperDesktopPicture.h"
#include "export/ImageEncoder.h"
#include "platform/GdkScreenLocator.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <unistd.h>

namespace lumeris {

namespace fs = std::filesystem;

EditorBackgrounds::~EditorBackgrounds() {
    for (const fs::path& file : placed_) {
        std::error_code ignored;
        fs::remove(file, ignored);
    }
}

EditorWindow::Backgrounds EditorBackgrounds::resolve(const SettingsStore& settings) {
    const std::string prefix = "editor-" + std::to_string(getpid()) + "-";
    EditorWindow::Backgrounds references;
    const std::string id = settings.string(SettingKeys::BACKGROUND_ID, "");
    if (id == "desktop") {
        GdkScreenLocator screens;
        WallpaperDesktopPicture source(screens);
        const LoadedImage picture = DesktopPicture::desktopPictureWithFallback(settings, source);
        const fs::path target = ResourceLocator::rendererDataFolder() /
                                (CustomBackgroundCache::RENDERER_COPY_PREFIX + prefix + "desktop");
        std::error_code ignored;
        fs::create_directories(target.parent_path(), ignored);
        std::string error;
        const auto png = ImageEncoder::pngData(picture.image);
        if (!png.empty() && AtomicFile::writeFileAtomically(target, png, error)) {
            placed_.push_back(target);
            references.desktop = target.string();
        } else {
            LOG_ERROR("cannot place the desktop picture for the renderer: {}", error);
        }
    }
    if (id == "custom" && settings.string(SettingKeys::BG_COLOR_OPTION, "") == "file") {
        if (auto source = CustomBackgroundCache::getCachedCustomBackgroundPath(settings)) {
            if (auto copied =
                    CustomBackgroundCache::copyToRendererData(*source, prefix + "custom")) {
                placed_.push_back(*copied);
                references.custom = copied->string() + "?cacheID=custom-0";
            }
        }
    }
    return references;
}

} // namespace lumeris
