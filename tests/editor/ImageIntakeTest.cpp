#include "editor/ImageIntake.h"

#include "export/ImageReader.h"
#include "support/EditorFixture.h"
#include "support/ImageFiles.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>

using namespace lumeris;

namespace {

class ImageIntakeTest : public SettingsFixture {
protected:
    std::filesystem::path temporary = folder / "tmp";

    void SetUp() override { std::filesystem::create_directories(temporary); }
};

} // namespace

// Every opening gets a copy and a backup of its own, even of the same file in the same second.
TEST_F(ImageIntakeTest, EditorWorksOnATemporaryPngCopyBackedUpWhenArchivingIsOn) {
    const RgbaImage picture = screenshot(90, 60, 8);
    const std::string original = writePng(picture, folder / "shot.png");
    std::set<std::filesystem::path> copies;
    for (bool archiving : {true, true, false}) {
        SCOPED_TRACE(archiving);
        settings.set("settings.save-screenshot", archiving);
        auto outcome = ImageIntake::activateFromFile(original, settings, temporary);
        ASSERT_TRUE(std::holds_alternative<PreparedImage>(outcome));
        const auto& copy = std::get<PreparedImage>(outcome).currentPath;
        copies.insert(copy);
        // The document shows the copy itself rather than the picture encoded again.
        EXPECT_EQ(std::get<PreparedImage>(outcome).imageUrl, "file://" + copy.string());
        EXPECT_EQ(copy.parent_path(), temporary);
        EXPECT_TRUE(std::regex_match(
            copy.filename().string(),
            std::regex(R"(Lumeris-\d{4}-\d\d-\d\d-\d\d\.\d\d\.\d\d-[0-9A-Fa-f-]{36}\.png)")))
            << copy;
        auto reread = ImageReader::read(copy);
        ASSERT_TRUE(reread);
        EXPECT_EQ(reread->image, picture);
        EXPECT_EQ(std::filesystem::exists(folder / "Archives" / "raw" / copy.filename()),
                  archiving);
    }
    EXPECT_EQ(copies.size(), 3U);
    EXPECT_EQ(entryCount(folder / "Archives" / "raw"), 2);
}

TEST_F(ImageIntakeTest, FailuresEndInTheMessageForTheAlert) {
    std::ofstream(folder / "notes.txt") << "not a picture";
    const std::string picture = writePng(screenshot(40, 30), folder / "shot.png");
    const struct {
        std::filesystem::path file;
        std::filesystem::path temporaryFolder;
        std::string message;
    } cases[] = {
        {folder / "notes.txt", temporary, ImageIntake::NOT_AN_IMAGE},
        {folder / "missing.png", temporary, ImageIntake::NOT_AN_IMAGE},
        {picture, "", ImageIntake::NO_TEMPORARY_FILE},
        {picture, folder / "no-such-folder", ImageIntake::CANNOT_OPEN},
    };
    for (const auto& test : cases) {
        auto outcome = ImageIntake::activateFromFile(test.file, settings, test.temporaryFolder);
        ASSERT_TRUE(std::holds_alternative<std::string>(outcome)) << test.file;
        EXPECT_EQ(std::get<std::string>(outcome), test.message) << test.file;
    }
    EXPECT_TRUE(std::filesystem::is_empty(temporary)) << "a failure leaves no copy";
}
