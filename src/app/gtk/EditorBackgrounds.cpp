#include "app/gtk/EditorBackgrounds.h"

#include "capture/CustomBackgroundCache.h"
#include "capture/DesktopPicture.h"
#include "capture/WallpaperDesktopPicture.h"
#include "platform/GdkScreenLocator.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace lumeris {

EditorWindow::Backgrounds EditorBackgrounds::resolve(const SettingsStore& settings) {
    EditorWindow::Backgrounds references;
    const std::string id = settings.string(SettingKeys::BACKGROUND_ID, "");
    if (id == "desktop") {
        GdkScreenLocator screens;
        WallpaperDesktopPicture source(screens);
        if (auto placed = copies_.write(
                DesktopPicture::desktopPictureWithFallback(settings, source), "desktop")) {
            references.desktop = placed->string();
        }
    }
    if (id == "custom" && settings.string(SettingKeys::BG_COLOR_OPTION, "") == "file") {
        if (auto source = CustomBackgroundCache::getCachedCustomBackgroundPath(settings)) {
            if (auto copied = copies_.copy(*source, "custom")) {
                references.custom = copied->string() + "?cacheID=custom-0";
            }
        }
    }
    return references;
}

} // namespace lumeris
