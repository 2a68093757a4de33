#include "editor/BackgroundReferences.h"

#include "capture/DesktopPicture.h"
#include "settings/SettingKeys.h"
#include "support/EditorFixture.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace lumeris;

namespace {

class BackgroundReferencesTest : public SettingsFixture {
protected:
    BackgroundReferences references{settings, folder / "renderer"};
    static void write(const std::filesystem::path& path) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "picture";
    }
};

} // namespace

TEST_F(BackgroundReferencesTest, EveryChosenFileGetsANewCacheId) {
    write(folder / "mine.png");
    settings.set(SettingKeys::CUSTOM_BACKGROUND_FILE_PATH, (folder / "mine.png").string());
    references.start();
    auto first = references.getCustomPNGCachedPath();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(settings.string(SettingKeys::CUSTOM_PATH_CACHE, "") + "?cacheID=custom-0", *first);

    for (const char* expected : {"?cacheID=custom-1", "?cacheID=custom-2"}) {
        references.customFileChosen();
        auto reference = references.getCustomPNGCachedPath();
        ASSERT_TRUE(reference.has_value());
        EXPECT_TRUE(reference->ends_with(expected)) << *reference;
    }
}

TEST_F(BackgroundReferencesTest, NothingToReferWithoutCachedPictures) {
    references.start();
    EXPECT_EQ(references.getCustomPNGCachedPath(), std::nullopt);
    EXPECT_EQ(references.getDesktopCachedPath(), std::nullopt);

    write(DesktopPicture::desktopCachePath(settings));
    auto desktop = references.getDesktopCachedPath();
    ASSERT_TRUE(desktop.has_value());
    EXPECT_EQ(settings.string(SettingKeys::DESKTOP_CACHE, ""), *desktop);
    references.start(); // a new editor forgets the desktop copy
    EXPECT_EQ(settings.string(SettingKeys::DESKTOP_CACHE, "x"), "");
}
