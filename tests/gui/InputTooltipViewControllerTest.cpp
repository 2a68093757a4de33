#include "ui/gtk/InputTooltipViewController.h"

#include "fakes/FakeNumberEntryDelegate.h"
#include "gui/PopoverTestWindow.h"
#include "ui/gtk/PopoverRegistry.h"

#include <gtest/gtest.h>

using namespace lumeris;
using namespace lumeris::testing;

namespace {

class InputTooltipViewControllerTest : public ::testing::Test {
protected:
    InputTooltipViewController* open(const std::string& field) {
        InputTooltipViewController::showNumberEntry(registry, *ui.button, field, delegate);
        PopoverTestWindow::flush();
        auto* entry = registry.find(field);
        return entry ? entry->contentAs<InputTooltipViewController>() : nullptr;
    }
    void apply(InputTooltipViewController& entry, const std::string& text) {
        entry.textField().set_text(text);
        entry.applyButton().clicked();
        PopoverTestWindow::flush();
    }

    PopoverRegistry registry;
    PopoverTestWindow ui;
    std::shared_ptr<FakeNumberEntryDelegate> delegate = std::make_shared<FakeNumberEntryDelegate>();
};

} // namespace

TEST_F(InputTooltipViewControllerTest,
       OpeningTwiceShowsTheSamePopoverFilledAfreshAndApplyAlwaysCloses) {
    auto* first = open("padding");
    ASSERT_NE(first, nullptr);
    auto* popover = first->parentPopover();
    EXPECT_EQ(first->textField().get_text(), "100");
    EXPECT_EQ(first->label().get_text(), "Enter from 0 to 200");
    first->closePopover();

    delegate->values[NumberEntryField::Padding] = 42;
    auto* second = open("padding");
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->parentPopover(), popover);
    EXPECT_EQ(second->textField().get_text(), "42");
    EXPECT_TRUE(popover->get_visible());

    // Applying always closes; which texts pass is NumberEntryTest's.
    apply(*second, "abc");
    EXPECT_FALSE(second->parentPopover()->get_visible());
    open("padding");
    apply(*second, "12");
    using Entered = std::vector<std::pair<NumberEntryField, int>>;
    EXPECT_EQ(delegate->entered, (Entered{{NumberEntryField::Padding, 12}}));
    EXPECT_FALSE(second->parentPopover()->get_visible());

    // Unknown fields show nothing; a gone editor just closes.
    EXPECT_EQ(open("tilt"), nullptr);
    open("padding");
    delegate.reset();
    apply(*second, "12");
    EXPECT_FALSE(second->parentPopover()->get_visible());
    EXPECT_EQ(registry.size(), 1u);
}
