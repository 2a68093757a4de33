#include "capture/FileNaming.h"

#include "TemporaryFolder.h"
#include "settings/SettingsStore.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <regex>

using namespace lumeris;

namespace {

const std::string UUID = "([0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12})";

class FileNamingTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }

    // 9 March 2024, 14:05:07 UTC.
    const FileNaming::Clock::time_point when = FileNaming::Clock::from_time_t(1709993107);
    TemporaryFolder folder;
    SettingsStore settings{folder / "settings.json"};
};

} // namespace

TEST_F(FileNamingTest, TemplatesExpandEveryTokenWithOneUuidAndKeepOtherBraces) {
    std::string twice = FileNaming::expandFileNameTemplate("{uuid}_{datetime}_{uuid}", when);
    std::smatch uuids;
    ASSERT_TRUE(std::regex_match(twice, uuids, std::regex(UUID + "_2024-03-09-14.05.07_" + UUID)));
    EXPECT_EQ(uuids[1], uuids[2]);
    EXPECT_NE(FileNaming::expandFileNameTemplate("{uuid}"),
              FileNaming::expandFileNameTemplate("{uuid}"));
    EXPECT_EQ(FileNaming::expandFileNameTemplate("shot {date} {DATETIME}", when),
              "shot {date} {DATETIME}");
}

TEST_F(FileNamingTest, OutputNameFollowsTheTemplateSettingElseCarriesLocalTime) {
    settings.set("settings.enable-default-file-name", true);
    for (auto [typed, expected] :
         {std::pair{"Report {datetime}.png", "Report 2024-03-09-14.05.07.png"},
          std::pair{"Shot {when}", "Shot {when}.png"}}) {
        settings.set("settings.default-file-name", std::string(typed));
        EXPECT_EQ(FileNaming::outputFileName(settings, when), expected);
    }
    settings.set("settings.enable-default-file-name", false);
    EXPECT_EQ(FileNaming::outputFileName(settings, when), "Lumeris-2024-03-09-14.05.07.png");
    EXPECT_EQ(FileNaming::generateFileName("raw", "ABC", "jpg", when),
              "Lumeris-raw-2024-03-09-14.05.07-ABC.jpg");
}
