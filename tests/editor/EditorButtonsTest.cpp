#include "editor/EditorButtons.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(EditorButtonsTest, BackgroundIdsOutsideTheTableBelongToTheCustomButton) {
    const std::pair<const char*, BackgroundButton> cases[] = {
        {"desktop", BackgroundButton::Desktop},  {"sky", BackgroundButton::Sky},
        {"transparent", BackgroundButton::None}, {"custom", BackgroundButton::Custom},
        {"rain", BackgroundButton::Custom},      {"", BackgroundButton::Custom},
    };
    for (const auto& [id, button] : cases) {
        EXPECT_EQ(EditorButtons::backgroundButton(id), button) << id;
    }
}

TEST(EditorButtonsTest, RatioButtonFollowsTheTemplatePlatformFirstThenTheRatio) {
    const RatioTemplate twitter{"Post", {1200, 675}, "twitter"};
    const RatioTemplate unknown{"Banner", {1500, 500}, "myspace"};
    EXPECT_EQ(EditorButtons::ratioButton("", std::nullopt), RatioButton::Auto);
    EXPECT_EQ(EditorButtons::ratioButton("auto", std::nullopt), RatioButton::Auto);
    EXPECT_EQ(EditorButtons::ratioButton("16:9", std::nullopt), RatioButton::Ratio169);
    EXPECT_EQ(EditorButtons::ratioButton("21:9", std::nullopt), RatioButton::Custom);
    EXPECT_EQ(EditorButtons::ratioButton("16:9", twitter), RatioButton::Twitter);
    EXPECT_EQ(EditorButtons::ratioButton("auto", unknown), RatioButton::Custom);
}
