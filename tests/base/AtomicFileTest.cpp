#include "base/AtomicFile.h"

#include "TemporaryFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using lumeris::AtomicFile;
namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesTheFileByRenamingAndLeavesNoTemporaryBehind) {
    TemporaryFolder folder;
    std::string error;
    ASSERT_TRUE(AtomicFile::writeFileAtomically(folder / "a", std::string(5000, 'x'), error, 0600));
    // A second name for the old file keeps the old contents: the new file is a new inode, and it
    // keeps the permissions of the file it replaced.
    fs::create_hard_link(folder / "a", folder / "old");
    ASSERT_TRUE(AtomicFile::writeFileAtomically(folder / "a",
                                                std::vector<std::uint8_t>{'o', 0, 'k'}, error));
    EXPECT_EQ(fileText(folder / "a"), std::string("o\0k", 3));
    EXPECT_EQ(fileText(folder / "old"), std::string(5000, 'x'));
    EXPECT_EQ(fs::status(folder / "a").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(entryCount(folder.path()), 2);
}

TEST(AtomicFile, FailureKeepsWhatWasThereAndSaysWhy) {
    TemporaryFolder folder;
    // A folder cannot be replaced by a file, not even by root.
    fs::create_directories(folder / "a");
    std::ofstream(folder / "a" / "kept") << "old";
    std::string error;
    EXPECT_FALSE(AtomicFile::writeFileAtomically(folder / "a", std::string("new"), error));
    EXPECT_NE(error, "");
    EXPECT_EQ(fileText(folder / "a" / "kept"), "old");
    EXPECT_EQ(entryCount(folder.path()), 1);
    error.clear();
    EXPECT_FALSE(AtomicFile::writeFileAtomically(folder / "missing" / "a", std::string(), error));
    EXPECT_NE(error, "");
}

// New names are claimed, never taken over: a second writer of the same name is told, and a
// killed writer's temporary is removed by the next (a live writer's is kept).
TEST(AtomicFile, NewFilesNeverReplaceAndStaleTemporariesGo) {
    TemporaryFolder folder;
    std::string error;
    bool taken = true;
    ASSERT_TRUE(AtomicFile::writeNewFileAtomically(folder / "a", {'1'}, error, taken));
    EXPECT_FALSE(taken);
    EXPECT_FALSE(AtomicFile::writeNewFileAtomically(folder / "a", {'2'}, error, taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(fileText(folder / "a"), "1");

    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    const std::string stale = ".a.lumeris-tmp-" + std::to_string(gone) + "-abcdef";
    const std::string live = ".a.lumeris-tmp-" + std::to_string(getpid()) + "-abcdef";
    std::ofstream(folder / stale) << "half";
    std::ofstream(folder / live) << "busy";
    AtomicFile::removeStaleTemporaries(folder.path());
    EXPECT_FALSE(fs::exists(folder / stale));
    EXPECT_TRUE(fs::exists(folder / live));
}
