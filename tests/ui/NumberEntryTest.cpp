#include "ui/NumberEntry.h"

#include "fakes/FakeNumberEntryDelegate.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(NumberEntryTest, OnlyWholeDecimalNumbersParse) {
    const std::vector<std::pair<std::string, std::optional<int>>> cases{
        {"12", 12},  {"0", 0},    {" 7", 7},    {"7 \n", 7},         {"-3", -3},    {"+5", 5},
        {"abc", {}}, {"1.5", {}}, {"", {}},     {"   ", {}},         {"12abc", {}}, {"1 2", {}},
        {"+", {}},   {"+-3", {}}, {"0x10", {}}, {"99999999999", {}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(NumberEntry::parse(text), expected) << '"' << text << '"';
    }
}

TEST(NumberEntryTest, ContentsShowTheSliderAndItsWholeMaximum) {
    FakeNumberEntryDelegate delegate;
    delegate.maximums[NumberEntryField::Inset] = 80.9;
    auto inset = NumberEntry::contents("inset", delegate);
    ASSERT_TRUE(inset);
    EXPECT_EQ(inset->text, "20");
    EXPECT_EQ(inset->label, "Enter from 0 to 80");

    delegate.values[NumberEntryField::Shadow] = 12.5;
    EXPECT_EQ(NumberEntry::contents("shadow", delegate)->text, "0");
    EXPECT_FALSE(NumberEntry::contents("tilt", delegate));
}

TEST(NumberEntryTest, ApplyPassesOnlyIntegersForKnownFields) {
    FakeNumberEntryDelegate delegate;
    EXPECT_FALSE(NumberEntry::apply("padding", "1.5", &delegate));
    EXPECT_FALSE(NumberEntry::apply("tilt", "12", &delegate));
    EXPECT_FALSE(NumberEntry::apply("padding", "12", nullptr));
    EXPECT_TRUE(NumberEntry::apply("rounded", "12", &delegate));
    EXPECT_TRUE(NumberEntry::apply("padding", "500", &delegate));
    using Entered = std::vector<std::pair<NumberEntryField, int>>;
    EXPECT_EQ(delegate.entered,
              (Entered{{NumberEntryField::Rounded, 12}, {NumberEntryField::Padding, 500}}));
}
