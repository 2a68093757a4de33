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

TEST(AtomicFile, ReplacesTheWholeFileAndLeavesNoTemporaryBehind) {
    TemporaryFolder folder;
    std::string error;
    ASSERT_TRUE(AtomicFile::writeFileAtomically(folder / "a", std::string(5000, 'x'), error));
    ASSERT_TRUE(AtomicFile::writeFileAtomically(
        folder / "a", std::vector<std::uint8_t>{'o', 0, 'k'}, error, 0600));
    EXPECT_EQ(contents(folder / "a"), std::string("o\0k", 3));
    EXPECT_EQ(fs::status(folder / "a").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
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
