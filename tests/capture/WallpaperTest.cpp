#include "TemporaryFolder.h"
#include "capture/WallpaperDesktopPicture.h"
#include "capture/WallpaperLocator.h"
#include "fakes/FakeScreenLocator.h"
#include "support/ImageFiles.h"

#include <gtest/gtest.h>

using namespace lumeris;

namespace {

// Left half red, right half blue.
RgbaImage halves(int width, int height) {
    return painted(width, height,
                   [&](int x, int) { return x < width / 2 ? rgba(255, 0, 0) : rgba(0, 0, 255); });
}

} // namespace

TEST(WallpaperLocator, ReadsKdeAndXfceConfiguration) {
    const char* kde = "[Containments][1]\n"
                      "Image=file:///not/this.png\n"
                      "[Containments][1][Wallpaper][org.kde.image][General]\n"
                      "FillMode=2\n"
                      "Image=file:///home/me/Pictures/sea.jpg \n"
                      "[Containments][2][Wallpaper][org.kde.image][General]\n"
                      "Image=file:///second.png\n";
    EXPECT_EQ(WallpaperLocator::fromKdeConfig(kde), "file:///home/me/Pictures/sea.jpg");

    const char* xfce = R"(<channel name="xfce4-desktop" version="1.0">
  <property name="backdrop" type="empty">
    <property name="screen0" type="empty">
      <property name="monitorVirtual-1" type="empty">
        <property name="workspace0" type="empty">
          <property name="color-style" type="int" value="0"/>
          <property name="last-image" type="string" value="/usr/share/backgrounds/a&amp;b.png"/>
        </property>)";
    EXPECT_EQ(WallpaperLocator::fromXfceConfig(xfce), "/usr/share/backgrounds/a&b.png");

    EXPECT_EQ(WallpaperLocator::pathFromUri("file:///home/me/a%20b.png"),
              std::filesystem::path("/home/me/a b.png"));
    EXPECT_EQ(WallpaperLocator::pathFromUri("/plain/path.jpg"),
              std::filesystem::path("/plain/path.jpg"));
    EXPECT_EQ(WallpaperLocator::pathFromUri("https://example.org/x.png"), std::nullopt);
}

TEST(WallpaperDesktopPicture, ZoomsToFillTheScreenAtItsDensity) {
    // A 4:1 picture on a 2:1 screen loses a quarter on each side: the centre is red | blue.
    auto filled = WallpaperDesktopPicture::zoomToFill(halves(400, 100), 80, 40);
    ASSERT_TRUE(filled);
    EXPECT_EQ(std::pair(filled->width, filled->height), std::pair(80, 40));
    EXPECT_EQ(filled->at(5, 20)[0], 255);
    EXPECT_EQ(filled->at(75, 20)[2], 255);

    TemporaryFolder folder;
    const std::filesystem::path path = writePng(halves(300, 200), folder / "wall.png");
    FakeScreenLocator screens;
    WallpaperDesktopPicture source(screens, [&] { return path; });
    EXPECT_FALSE(source.desktopPicture()); // no screen
    screens.all = {ScreenInfo{{0, 0, 160, 100}, {0, 0, 160, 100}, 2}};
    auto picture = source.desktopPicture();
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::tuple(picture->pointWidth, picture->pointHeight, picture->image.width,
                         picture->image.height),
              std::tuple(160, 100, 320, 200));

    WallpaperDesktopPicture unreadable(screens, [&] { return folder / "missing.png"; });
    EXPECT_FALSE(unreadable.desktopPicture());
}
