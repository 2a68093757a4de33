#include "capture/ArchiveFolders.h"

#include "TemporaryFolder.h"
#include "export/ImageReader.h"
#include "fakes/FakeFileManager.h"
#include "settings/SettingsStore.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace lumeris;
namespace fs = std::filesystem;

TEST(ArchiveFolders, ArchiveWriteFollowsTheSettingCreatesFoldersAndReplacesFiles) {
    TemporaryFolder folder;
    SettingsStore settings(folder / "settings.json");
    settings.set("settings.screenshot-path", (folder / "not" / "yet").string());
    const fs::path written = folder / "not" / "yet" / "Output" / "a.png";
    for (int width : {4, 2}) {
        ArchiveFolders::saveToArchives(settings, RgbaImage(width, 3), "a.png", false);
        auto read = ImageReader::read(written);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->image, RgbaImage(width, 3));
    }
    EXPECT_EQ(entryCount(written.parent_path()), 1);
    EXPECT_EQ(ArchiveFolders::rawDirectory(settings), folder / "not" / "yet" / "raw");
}

TEST(ArchiveFolders, RevealCreatesTheFolderFirstAndStopsWhenItCannot) {
    TemporaryFolder folder;
    FakeFileManager files;
    EXPECT_CALL(files, showItem(folder / "Archives")).Times(1);
    ArchiveFolders::openDirURLCreateIfNeeded(folder / "Archives", files);
    EXPECT_TRUE(fs::is_directory(folder / "Archives"));

    std::ofstream(folder / "plain-file") << "x";
    EXPECT_CALL(files, showItem(folder / "plain-file" / "sub")).Times(0);
    ArchiveFolders::openDirURLCreateIfNeeded(folder / "plain-file" / "sub", files);
}
