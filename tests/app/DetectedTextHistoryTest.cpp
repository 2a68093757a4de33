#include "app/DetectedTextHistory.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(DetectedTextHistoryTest, KeepsTheFiveNewestFirstWithDuplicates) {
    DetectedTextHistory history;
    auto entries = history.entries();
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.title, "(Empty)");
        EXPECT_FALSE(entry.enabled);
        EXPECT_EQ(entry.text, "");
    }
    for (const char* text : {"one", "two", "three", "four", "five", "five", "seven"}) {
        history.add(text);
    }
    entries = history.entries();
    const char* expected[] = {"seven", "five", "five", "four", "three"};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].text, expected[i]);
        EXPECT_EQ(entries[i].title, expected[i]);
        EXPECT_TRUE(entries[i].enabled);
    }
}

TEST(DetectedTextHistoryTest, TitlesStopAtFiftyCharactersAndMessagesCountCharactersNotBytes) {
    const std::string fifty(50, 'a');
    std::string accented;
    for (int i = 0; i < 50; ++i) {
        accented += "é";
    }
    struct Case {
        std::string text;
        std::string title;
    } cases[] = {
        {fifty, fifty},
        {fifty + "b", fifty + "…"},
        // Two bytes a character: cut between characters, not inside one.
        {accented, accented},
        {accented + "é", accented + "…"},
        {"", ""},
    };
    for (const auto& [text, title] : cases) {
        EXPECT_EQ(DetectedTextHistory::title(text), title) << text;
    }
    EXPECT_EQ(DetectedTextHistory::copiedMessage("hello world!"), "12 chars Copied");
    EXPECT_EQ(DetectedTextHistory::copiedMessage("héllo"), "5 chars Copied");
}
