#include "cli/RenderProgress.h"

#include <glib.h>
#include <gtest/gtest.h>

using namespace lumeris;
using namespace std::chrono_literals;

TEST(RenderProgressTest, TimeLeftFollowsThePaceSoFarAndReadsAsPeopleSayIt) {
    EXPECT_FALSE(RenderProgress::remaining(0, 10, 5000ms));
    EXPECT_EQ(RenderProgress::remaining(1, 10, 2000ms), 18s);
    EXPECT_EQ(RenderProgress::remaining(3, 10, 1000ms), 3s); // 2.33 s, never shown as less
    EXPECT_EQ(RenderProgress::remaining(10, 10, 9000ms), 0s);

    const std::pair<std::chrono::seconds, const char*> texts[] = {
        {0s, "0 s"},          {59s, "59 s"},         {60s, "1 min 00 s"},
        {125s, "2 min 05 s"}, {3600s, "1 h 00 min"}, {3725s, "1 h 02 min"},
    };
    for (const auto& [duration, text] : texts) {
        EXPECT_EQ(RenderProgress::durationText(duration), text);
    }
}

TEST(RenderProgressTest, PlainLinesOutsideATerminal) {
    RenderProgress progress(10, RenderProgress::Style::Lines);
    EXPECT_EQ(progress.start(2, "docs/a b.png", 3000ms), "[3/10] docs/a b.png\n");
    EXPECT_EQ(progress.clear(), "");
    EXPECT_EQ(progress.redraw(), "");
}

TEST(RenderProgressTest, BarRedrawnInPlaceNeverWrapsAndKeepsTheNamesEnd) {
    RenderProgress progress(4, RenderProgress::Style::Bar, 80);
    EXPECT_EQ(progress.clear(), ""); // nothing drawn yet
    EXPECT_EQ(progress.start(0, "shot.png", 0ms),
              "\r\033[K1/4 [........................]  shot.png");
    EXPECT_EQ(progress.start(2, "shot.png", 2000ms),
              "\r\033[K3/4 [############............] 2 s left  shot.png");
    EXPECT_EQ(progress.clear(), "\r\033[K");
    EXPECT_EQ(progress.redraw(), "3/4 [############............] 2 s left  shot.png");

    // Narrow terminals and long names with characters of several bytes.
    const std::string name = "/home/ünïcödé/\xff\xfe/2024/a-very-long-name-of-a-capture-é.png";
    for (int columns : {8, 12, 20, 30, 40, 60, 200}) {
        RenderProgress narrow(12, RenderProgress::Style::Bar, columns);
        const std::string line = narrow.start(5, name, 10000ms).substr(4);
        EXPECT_TRUE(g_utf8_validate(line.data(), static_cast<gssize>(line.size()), nullptr));
        EXPECT_LT(g_utf8_strlen(line.c_str(), -1), columns) << line;
        EXPECT_EQ(line.rfind("6/12", 0), 0u) << line;
        if (line.find(".png") != std::string::npos) {
            EXPECT_TRUE(line.ends_with("-é.png")) << line;
        }
        if (columns >= 30) {
            EXPECT_NE(line.find("14 s left"), std::string::npos) << line;
        }
    }
}
