#include "editor/DragOut.h"

#include "TemporaryFolder.h"
#include "export/ImageReader.h"
#include "support/ImageFiles.h"
#include "ui/SoundPlayer.h"

#include <gtest/gtest.h>

using namespace lumeris;
namespace fs = std::filesystem;

TEST(DragOutTest, TheFileIsNamedAfterTheOutput) {
    const std::string name = "Lumeris-2024-03-09-14.05.07.png";
    EXPECT_EQ(DragOut::filePath("/tmp", name, false), "/tmp/Lumeris-2024-03-09-14.05.07.png");
    EXPECT_EQ(DragOut::filePath("/tmp", name, true), "/tmp/Lumeris-2024-03-09-14.05.07.jpg");
    const fs::path generated = DragOut::filePath("/tmp", "", true);
    EXPECT_EQ(generated.parent_path(), "/tmp");
    EXPECT_TRUE(generated.filename().string().starts_with("Lumeris-"));
    EXPECT_EQ(generated.extension(), ".jpg");
}

TEST(DragOutTest, WritesTheChosenEncodingOverThePreviousDrag) {
    TemporaryFolder folder;
    const fs::path jpeg = DragOut::filePath(folder.path(), "shot.png", true);
    ASSERT_TRUE(DragOut::writeFile(screenshot(30, 20), jpeg, true));
    ASSERT_TRUE(DragOut::writeFile(screenshot(40, 24), jpeg, true));
    EXPECT_EQ(fileText(jpeg).substr(0, 3), "\xFF\xD8\xFF");
    const auto read = ImageReader::read(jpeg);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->image.width, 40);

    EXPECT_FALSE(DragOut::writeFile(screenshot(4, 4), folder / "missing/shot.png", false));
}

TEST(DragOutTest, AnAcceptedCopyClosesAndARefusalBringsTheWindowBack) {
    const struct {
        bool copied;
        bool compressed;
        bool altAlone;
        bool close;
        const char* sound;
        const char* bezel;
    } cases[] = {
        {true, false, false, true, SoundPlayer::GLASS, nullptr},
        {true, true, false, true, SoundPlayer::GLASS, nullptr},
        {true, true, true, true, SoundPlayer::GLASS, "Compressed"},
        {true, false, true, true, SoundPlayer::GLASS, "Compression Skipped"},
        {false, true, true, false, SoundPlayer::BOTTLE, nullptr},
        {false, false, false, false, SoundPlayer::BOTTLE, nullptr},
    };
    for (const auto& c : cases) {
        const auto ending = DragOut::ended(c.copied, c.compressed, c.altAlone);
        EXPECT_EQ(ending.closeWindow, c.close);
        EXPECT_EQ(ending.sound, c.sound);
        EXPECT_EQ(ending.bezel ? ending.bezel->messageText : "", c.bezel ? c.bezel : "")
            << c.copied << c.compressed << c.altAlone;
    }
}
