#include "editor/EditorButtons.h"

#include <gtest/gtest.h>

using namespace lumeris;

// The controller's tests cover the fixed ratios and a known platform's template.
TEST(EditorButtonsTest, WhatTheTablesDoNotKnowBelongsToTheCustomButton) {
    const std::pair<const char*, BackgroundButton> cases[] = {
        {"desktop", BackgroundButton::Desktop},
        {"transparent", BackgroundButton::None},
        {"rain", BackgroundButton::Custom},
        {"", BackgroundButton::Custom},
    };
    for (const auto& [id, button] : cases) {
        EXPECT_EQ(EditorButtons::backgroundButton(id), button) << id;
    }
    EXPECT_EQ(EditorButtons::ratioButton("", std::nullopt), RatioButton::Auto);
    EXPECT_EQ(EditorButtons::ratioButton("16:9", RatioTemplate{"Banner", {1500, 500}, "myspace"}),
              RatioButton::Custom);
}
