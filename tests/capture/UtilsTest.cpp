#include "capture/Utils.h"

#include "TemporaryFolder.h"
#include "analysis/ImageCrop.h"
#include "export/ImageEncoder.h"
#include "export/ImageReader.h"
#include "settings/SettingsStore.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <regex>

using namespace lumeris;
namespace fs = std::filesystem;
using testing::_;

namespace {

// 9 March 2024, 14:05:07 in the time zone the fixture sets (UTC).
Utils::Clock::time_point marchNinth() {
    std::tm utc{};
    utc.tm_year = 124;
    utc.tm_mon = 2;
    utc.tm_mday = 9;
    utc.tm_hour = 14;
    utc.tm_min = 5;
    utc.tm_sec = 7;
    return Utils::Clock::from_time_t(timegm(&utc));
}

const std::regex UUID_PATTERN("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");

RgbaImage solid(int width, int height, std::uint8_t red) {
    RgbaImage image(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = red;
        image.pixels[i + 3] = 255;
    }
    return image;
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

class FakeFileManager : public FileManager {
public:
    MOCK_METHOD(void, showItem, (const fs::path&), (override));
};

class FakeDesktop : public DesktopPictureSource {
public:
    std::optional<LoadedImage> picture;
    std::optional<LoadedImage> desktopPicture() override { return picture; }
};

class FakeScreens : public ScreenLocator {
public:
    std::vector<ScreenInfo> all;
    std::optional<std::pair<double, double>> pointer;
    std::vector<ScreenInfo> screens() override { return all; }
    std::optional<ScreenInfo> primaryScreen() override {
        return all.empty() ? std::nullopt : std::optional(all.front());
    }
    std::optional<std::pair<double, double>> pointerPosition() override { return pointer; }
};

class UtilsStorage : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        settings.set("settings.screenshot-path", (folder / "Archives").string());
    }

    TemporaryFolder folder;
    SettingsStore settings{folder / "settings.json"};
};

} // namespace

TEST_F(UtilsStorage, GeneratedNamesCarryLocalTimeAndOptionalParts) {
    const auto when = marchNinth();
    EXPECT_EQ(Utils::generateFileName(std::nullopt, std::nullopt, "png", when),
              "Lumeris-2024-03-09-14.05.07.png");
    EXPECT_EQ(Utils::generateFileName("raw", "ABC", "jpg", when),
              "Lumeris-raw-2024-03-09-14.05.07-ABC.jpg");
    std::string withUuid = Utils::generateFileName(std::nullopt, Utils::uuidString(), "png", when);
    EXPECT_TRUE(std::regex_match(withUuid.substr(28, 36), UUID_PATTERN)) << withUuid;
    EXPECT_EQ(withUuid.substr(0, 28), "Lumeris-2024-03-09-14.05.07-");
}

TEST_F(UtilsStorage, TemplatesExpandTokensAndKeepOtherBraces) {
    const auto when = marchNinth();
    std::string twice = Utils::expandFileNameTemplate("{uuid}_{datetime}_{uuid}", when);
    ASSERT_EQ(twice.size(), 36 + 1 + 19 + 1 + 36);
    EXPECT_EQ(twice.substr(0, 36), twice.substr(57));
    EXPECT_TRUE(std::regex_match(twice.substr(0, 36), UUID_PATTERN));
    EXPECT_EQ(twice.substr(36, 21), "_2024-03-09-14.05.07_");
    EXPECT_NE(Utils::expandFileNameTemplate("{uuid}"), Utils::expandFileNameTemplate("{uuid}"));
    EXPECT_EQ(Utils::expandFileNameTemplate("shot {date} {DATETIME}", when),
              "shot {date} {DATETIME}");

    settings.set("settings.enable-default-file-name", true);
    settings.set("settings.default-file-name", std::string("{uuid}-{uuid}"));
    std::string name = Utils::outputFileName(settings, when);
    EXPECT_EQ(name.size(), 36 * 2 + 1 + 4);
    EXPECT_EQ(name.substr(0, 36), name.substr(37, 36));
    EXPECT_TRUE(name.ends_with(".png"));
    settings.set("settings.default-file-name", std::string("Report {datetime}.png"));
    EXPECT_EQ(Utils::outputFileName(settings, when), "Report 2024-03-09-14.05.07.png");
    settings.set("settings.default-file-name", std::string("Shot {when}"));
    EXPECT_EQ(Utils::outputFileName(settings, when), "Shot {when}.png");

    settings.set("settings.enable-default-file-name", false);
    EXPECT_EQ(Utils::outputFileName(settings, when), "Lumeris-2024-03-09-14.05.07.png");
}

TEST_F(UtilsStorage, ArchiveWriteCreatesMissingFoldersAndReplacesFiles) {
    settings.set("settings.screenshot-path", (folder / "not" / "yet").string());
    Utils::saveToArchives(settings, solid(4, 3, 10), "a.png", false);
    const fs::path written = folder / "not" / "yet" / "Output" / "a.png";
    auto first = ImageReader::read(written);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->image, solid(4, 3, 10));

    Utils::saveToArchives(settings, solid(2, 2, 99), "a.png", false);
    auto second = ImageReader::read(written);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->image, solid(2, 2, 99));
    EXPECT_EQ(std::distance(fs::directory_iterator(written.parent_path()), {}), 1);

    // The folder paths follow the setting at every use.
    EXPECT_EQ(Utils::rawDirectory(settings), folder / "not" / "yet" / "raw");
    EXPECT_EQ(Utils::desktopCachePath(settings), folder / "not" / "yet" / "Cache" / "desktop.png");
}

TEST_F(UtilsStorage, RevealCreatesTheFolderFirstAndStopsWhenItCannot) {
    FakeFileManager files;
    EXPECT_CALL(files, showItem(folder / "Archives")).Times(1);
    Utils::openDirURLCreateIfNeeded(folder / "Archives", files);
    EXPECT_TRUE(fs::is_directory(folder / "Archives"));

    writeText(folder / "plain-file", "x");
    EXPECT_CALL(files, showItem(folder / "plain-file" / "sub")).Times(0);
    Utils::openDirURLCreateIfNeeded(folder / "plain-file" / "sub", files);
}

TEST_F(UtilsStorage, DesktopPictureFallsBackToCacheThenToTheBuiltInPicture) {
    FakeDesktop desktop;
    LoadedImage nice = Utils::desktopPictureWithFallback(settings, desktop);
    EXPECT_EQ(nice.image.width, 1440);
    EXPECT_EQ(nice.image.height, 900);
    EXPECT_FALSE(fs::exists(Utils::desktopCachePath(settings)));

    desktop.picture = LoadedImage{solid(8, 6, 200), 4, 3};
    LoadedImage live = Utils::desktopPictureWithFallback(settings, desktop);
    EXPECT_EQ(live.image, solid(8, 6, 200));
    EXPECT_EQ(live.pointWidth, 4);
    auto cached = ImageReader::read(Utils::desktopCachePath(settings));
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->image, solid(8, 6, 200));

    desktop.picture.reset();
    EXPECT_EQ(Utils::desktopPictureWithFallback(settings, desktop).image, solid(8, 6, 200));
}

TEST_F(UtilsStorage, CustomBackgroundIsCachedUntilCleared) {
    const fs::path chosen = folder / "mine.png";
    writeText(chosen, "picture bytes");
    settings.set("settings.custom-background-file-path", chosen.string());
    settings.set("settings.custom-path-cache", std::string("/old/copy?cacheID=custom-3"));

    auto cached = Utils::getCachedCustomBackgroundPath(settings);
    ASSERT_TRUE(cached);
    EXPECT_EQ(*cached, Utils::customBackgroundCachePath(settings));
    fs::remove(chosen); // the cache outlives the user's file
    EXPECT_EQ(Utils::getCachedCustomBackgroundPath(settings), cached);

    Utils::clearCutsomBackgroundFile(settings);
    EXPECT_FALSE(fs::exists(*cached));
    EXPECT_EQ(settings.string("settings.custom-path-cache", "unset"), "");
    EXPECT_EQ(Utils::getCachedCustomBackgroundPath(settings), std::nullopt);
    Utils::clearCutsomBackgroundFile(settings); // nothing left to delete
}

TEST_F(UtilsStorage, RendererCopiesReplaceTheirPredecessor) {
    const fs::path data = folder / "data";
    writeText(folder / "one.png", "one");
    writeText(folder / "two.png", "two");
    auto first = Utils::copyToRendererData(folder / "one.png", "desktop", data);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, data / "lumeris-custom-background-desktop");
    auto second = Utils::copyToRendererData(folder / "two.png", "desktop", data);
    ASSERT_EQ(second, first);
    std::ifstream copy(*second);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "two");
    EXPECT_FALSE(Utils::copyToRendererData(folder / "missing.png", "custom", data));
}

TEST(Utils, ScreenWithMouseIsTheFirstScreenHoldingThePointer) {
    FakeScreens screens;
    ScreenInfo left{{0, 0, 1920, 1080}, {0, 32, 1920, 1048}, 1};
    ScreenInfo right{{1920, 0, 1280, 800}, {1920, 0, 1280, 800}, 2};
    ScreenInfo mirror{{1920, 0, 1280, 800}, {1920, 0, 1280, 800}, 1};
    screens.all = {left, right, mirror};
    EXPECT_FALSE(Utils::screenWithMouse(screens)); // no pointer
    screens.pointer = {1920, 10};
    EXPECT_EQ(Utils::screenWithMouse(screens), right);
    screens.pointer = {1919.5, 1079};
    EXPECT_EQ(Utils::screenWithMouse(screens), left);
    screens.pointer = {500, 1080};
    EXPECT_FALSE(Utils::screenWithMouse(screens));
}

TEST(Utils, BalancedCropLeavesTenPointMargins) {
    EXPECT_EQ(Utils::balancedCropRect(800, 600, EdgeInsets{100, 101, 60, 61}, 2),
              (Rect{40, 20, 719, 559}));
    // Narrow bands keep what there is; no band keeps the whole image.
    EXPECT_EQ(Utils::balancedCropRect(300, 200, EdgeInsets{4, 5, 3, 2}, 1),
              (Rect{0, 0, 300, 200}));
    EXPECT_EQ(Utils::balancedCropRect(300, 200, EdgeInsets{50, 31, 40, 21}, 1),
              (Rect{40, 11, 239, 159}));
}

TEST(Utils, BalancedCropKeepsPixelDensityAndCountsYFromTheBottom) {
    // 200 × 100 pixels at scale 2: a band of 40 px left, 20 px elsewhere, with a marker pixel
    // in the bottom-left of the content.
    LoadedImage image{solid(200, 100, 255), 100, 50};
    image.image.at(40, 79)[1] = 77;
    auto cropped = Utils::balancedCrop(image, EdgeInsets{40, 20, 20, 20});
    ASSERT_TRUE(cropped);
    // x = 20 - 10 = 10 pt, y = 10 - 10 = 0, width = floor(70 + 20) = 90, height = 50.
    EXPECT_EQ(cropped->pointWidth, 90);
    EXPECT_EQ(cropped->pointHeight, 50);
    EXPECT_EQ(cropped->image.width, 180);
    EXPECT_EQ(cropped->image.height, 100);
    EXPECT_EQ(cropped->scale(), 2);
    EXPECT_EQ(cropped->image.at(20, 79)[1], 77);
}

TEST(Utils, ColorStrings) {
    EXPECT_EQ(Utils::colorHexString(1, 0.5, 0), "#FF8000");
    EXPECT_EQ(Utils::colorHexString(0.2, 0.4, 0.6), "#336699");
    EXPECT_EQ(Utils::colorHexString(NAN, 0, 0), "#FFFFFF");
    EXPECT_EQ(Utils::colorHexString(1.2, -0.1, 0), "#FF0000");

    EXPECT_EQ(Utils::parseHexColor("#FFFFFF"), 0xFFFFFFu);
    EXPECT_EQ(Utils::parseHexColor("#1a2B3c"), 0x1A2B3Cu);
    EXPECT_EQ(Utils::parseHexColor("0x00ff00"), 0x00FF00u);
    EXPECT_EQ(Utils::parseHexColor("#ffffff"), 0xFFFFFFu); // the no-analysis colour
    EXPECT_EQ(Utils::parseHexColor("#FFFFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(Utils::parseHexColor("zz12"), 0u); // digits exist, but none at the start
    EXPECT_EQ(Utils::parseHexColor("#"), std::nullopt);
    EXPECT_EQ(Utils::parseHexColor("red"), 0u); // "e" and "d" are hexadecimal
    EXPECT_EQ(Utils::parseHexColor("xyz"), std::nullopt);
    EXPECT_EQ(Utils::parseHexColor(""), std::nullopt);
}

TEST(ImageCrop, DropsWhatLiesOutsideTheImage) {
    LoadedImage image{solid(20, 10, 1), 20, 10};
    image.image.at(0, 9)[1] = 9; // bottom-left pixel
    auto corner = ImageCrop::crop(image, Rect{-5, -5, 10, 10});
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->image.width, 5);
    EXPECT_EQ(corner->image.height, 5);
    EXPECT_EQ(corner->image.at(0, 4)[1], 9);
    EXPECT_FALSE(ImageCrop::crop(image, Rect{30, 0, 5, 5}));
    EXPECT_FALSE(ImageCrop::crop(image, Rect{0, 0, 0, 5}));
    EXPECT_FALSE(ImageCrop::crop(LoadedImage{}, Rect{0, 0, 5, 5}));
}
