#include "capture/RawBackup.h"

#include "TemporaryFolder.h"
#include "settings/SettingsStore.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace lumeris;
namespace fs = std::filesystem;

TEST(RawBackupTest, CopiesIntoRawCreatingFoldersAndNeverReplacesOrForcesAWay) {
    TemporaryFolder folder;
    std::ofstream(folder / "shot.png") << "capture";
    std::ofstream(folder / "blocker") << "a file where the archive should be";
    const struct {
        const char* name;
        bool saving;
        fs::path archive;
        const char* alreadyThere; // in archive/raw/shot.png beforehand
        bool copied;
    } cases[] = {
        {"off", false, folder / "off", nullptr, false},
        {"missing folders are made", true, folder / "a" / "b" / "Archives", nullptr, true},
        {"folder cannot be made", true, folder / "blocker" / "Archives", nullptr, false},
        {"an existing name is kept", true, folder / "kept", "older capture", false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        SettingsStore settings(folder / "settings.json", SettingsStore::Persistence::InMemory);
        settings.set("settings.save-screenshot", test.saving);
        settings.set("settings.screenshot-path", test.archive.string());
        if (test.alreadyThere != nullptr) {
            fs::create_directories(test.archive / "raw");
            std::ofstream(test.archive / "raw" / "shot.png") << test.alreadyThere;
        }
        auto copy = RawBackup::makeRawBackup(settings, folder / "shot.png");
        EXPECT_EQ(copy.has_value(), test.copied);
        if (copy) {
            EXPECT_EQ(*copy, test.archive / "raw" / "shot.png");
            EXPECT_EQ(fileText(*copy), "capture");
        }
        if (test.alreadyThere != nullptr) {
            EXPECT_EQ(fileText(test.archive / "raw" / "shot.png"), test.alreadyThere);
        }
        if (!test.saving) {
            EXPECT_FALSE(fs::exists(test.archive));
        }
    }
}
