#include "capture/DesktopPicture.h"

#include "TemporaryFolder.h"
#include "export/ImageReader.h"
#include "fakes/FakeDesktopPictureSource.h"
#include "settings/SettingsStore.h"
#include "support/ImageFiles.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(DesktopPicture, FallsBackToTheCacheThenToTheBuiltInPicture) {
    TemporaryFolder folder;
    SettingsStore settings(folder / "settings.json");
    settings.set("settings.screenshot-path", (folder / "Archives").string());
    FakeDesktopPictureSource desktop;
    LoadedImage nice = DesktopPicture::desktopPictureWithFallback(settings, desktop);
    EXPECT_EQ(std::pair(nice.image.width, nice.image.height), std::pair(1440, 900));
    EXPECT_FALSE(std::filesystem::exists(DesktopPicture::desktopCachePath(settings)));

    const RgbaImage shot = screenshot(8, 6);
    desktop.picture = LoadedImage{shot, 4, 3};
    LoadedImage live = DesktopPicture::desktopPictureWithFallback(settings, desktop);
    EXPECT_EQ(live.image, shot);
    EXPECT_EQ(live.pointWidth, 4);
    EXPECT_EQ(DesktopPicture::desktopCachePath(settings),
              folder / "Archives" / "Cache" / "desktop.png");

    desktop.picture.reset();
    EXPECT_EQ(DesktopPicture::desktopPictureWithFallback(settings, desktop).image, shot);
}
