#include "base/AtomicFile.h"

#include "TemporaryFolder.h"

#include <fstream>
#include <gtest/gtest.h>

using lumeris::AtomicFile;
namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

} // namespace

TEST(AtomicFile, ReplacesTheFileByRenamingAndLeavesNoTemporaryBehind) {
    TemporaryFolder folder;
    std::string error;
    ASSERT_TRUE(AtomicFile::writeFileAtomically(folder / "a", std::string(5000, 'x'), error));
    // A second name for the old file keeps the old contents: the new file is a new inode.
    fs::create_hard_link(folder / "a", folder / "old");
    ASSERT_TRUE(AtomicFile::writeFileAtomically(
        folder / "a", std::vector<std::uint8_t>{'o', 0, 'k'}, error, 0600));
    EXPECT_EQ(contents(folder / "a"), std::string("o\0k", 3));
    EXPECT_EQ(contents(folder / "old"), std::string(5000, 'x'));
    EXPECT_EQ(fs::status(folder / "a").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 2);
}

TEST(AtomicFile, FailureKeepsWhatWasThereAndSaysWhy) {
    TemporaryFolder folder;
    // A folder cannot be replaced by a file, not even by root.
    fs::create_directories(folder / "a");
    std::ofstream(folder / "a" / "kept") << "old";
    std::string error;
    EXPECT_FALSE(AtomicFile::writeFileAtomically(folder / "a", std::string("new"), error));
    EXPECT_NE(error, "");
    EXPECT_EQ(contents(folder / "a" / "kept"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
    error.clear();
    EXPECT_FALSE(AtomicFile::writeFileAtomically(folder / "missing" / "a", std::string(), error));
    EXPECT_NE(error, "");
}
