#include "capture/CustomBackgroundCache.h"

#include "TemporaryFolder.h"
#include "settings/SettingsStore.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace lumeris;
namespace fs = std::filesystem;

TEST(CustomBackgroundCache, CopyOutlivesTheChosenFileUntilCleared) {
    TemporaryFolder folder;
    SettingsStore settings(folder / "settings.json");
    settings.set("settings.screenshot-path", (folder / "Archives").string());
    const fs::path chosen = folder / "mine.png";
    std::ofstream(chosen) << "picture bytes";
    settings.set("settings.custom-background-file-path", chosen.string());
    settings.set("settings.custom-path-cache", std::string("/old/copy?cacheID=custom-3"));

    auto cached = CustomBackgroundCache::getCachedCustomBackgroundPath(settings);
    ASSERT_EQ(cached, folder / "Archives" / "Cache" / "custom.png");
    fs::remove(chosen);
    EXPECT_EQ(CustomBackgroundCache::getCachedCustomBackgroundPath(settings), cached);
    EXPECT_EQ(fileText(*cached), "picture bytes");

    CustomBackgroundCache::clearCutsomBackgroundFile(settings);
    EXPECT_FALSE(fs::exists(*cached));
    EXPECT_EQ(settings.string("settings.custom-path-cache", "unset"), "");
    EXPECT_EQ(CustomBackgroundCache::getCachedCustomBackgroundPath(settings), std::nullopt);
}

TEST(CustomBackgroundCache, RendererCopiesReplaceTheirPredecessor) {
    TemporaryFolder folder;
    const fs::path data = folder / "data";
    std::ofstream(folder / "one.png") << "one";
    std::ofstream(folder / "two.png") << "two";
    auto first = CustomBackgroundCache::copyToRendererData(folder / "one.png", "desktop", data);
    EXPECT_EQ(first, data / "lumeris-custom-background-desktop");
    auto second = CustomBackgroundCache::copyToRendererData(folder / "two.png", "desktop", data);
    ASSERT_EQ(second, first);
    EXPECT_EQ(fileText(*second), "two");
    EXPECT_FALSE(CustomBackgroundCache::copyToRendererData(folder / "missing.png", "c", data));
}
