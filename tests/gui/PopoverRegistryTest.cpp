#include "ui/gtk/PopoverRegistry.h"

#include "gui/PopoverTestWindow.h"
#include "ui/gtk/InputTooltipViewController.h"

#include <gtest/gtest.h>

using namespace lumeris;
using namespace lumeris::testing;

namespace {

class PopoverRegistryTest : public ::testing::Test {
protected:
    PopoverRegistry::Entry* show(const std::string& name, Gtk::Widget& anchor, bool reuse,
                                 const PopoverRegistry::Content& content) {
        auto* entry = registry.showPopover(name, anchor, PopoverEdge::Top, 300, 200, reuse,
                                           PopoverBehavior::Transient, content);
        PopoverTestWindow::flush();
        return entry;
    }

    PopoverRegistry registry;
    std::unique_ptr<PopoverTestWindow> ui = std::make_unique<PopoverTestWindow>();
};

} // namespace

TEST_F(PopoverRegistryTest, WithoutReuseEveryShowBuildsAFreshPopoverAndKeepsTheLast) {
    auto kept = InputTooltipViewController::create();
    auto* first = &show("ratio-picker", *ui->button, false, kept)->popover();
    auto* second = show("ratio-picker", *ui->button, false, kept);

    EXPECT_EQ(registry.size(), 1u);
    EXPECT_EQ(registry.find("ratio-picker"), second);
    EXPECT_NE(&second->popover(), first);
    // The kept content moved to the new popover and closes that one.
    EXPECT_EQ(kept->parentPopover(), &second->popover());
    EXPECT_EQ(kept->view().get_parent(), &second->popover());
    EXPECT_TRUE(second->popover().get_visible());
    EXPECT_GE(kept->view().get_allocated_width(), 300);

    const PopoverRegistry::ContentFactory none = [] {
        return nullptr;
    };
    EXPECT_EQ(show("bg-picker", *ui->button, false, none), nullptr) << "no content, no popover";
    EXPECT_EQ(registry.size(), 1u);
}

TEST_F(PopoverRegistryTest, WithReuseTheEntryIsShownAgainUntilItsWindowGoes) {
    auto content = InputTooltipViewController::create();
    int built = 0;
    PopoverRegistry::ContentFactory factory = [&] {
        ++built;
        return content;
    };
    auto* first = show("padding", *ui->button, true, factory);
    first->popover().popdown();
    auto* again = show("padding", *ui->other, true, factory);
    EXPECT_EQ(again, first);
    EXPECT_EQ(built, 1);
    EXPECT_EQ(again->popover().get_relative_to(), ui->other);
    EXPECT_TRUE(again->popover().get_visible());

    ui.reset();
    PopoverTestWindow::flush();

    PopoverTestWindow next;
    auto* rebuilt = show("padding", *next.button, true, factory);
    EXPECT_EQ(built, 2);
    EXPECT_EQ(rebuilt->popover().get_relative_to(), next.button);
    EXPECT_EQ(content->view().get_parent(), &rebuilt->popover());
    EXPECT_TRUE(rebuilt->popover().get_visible());
    // The content survived its first popover and still works.
    content->applyButton().clicked();
    PopoverTestWindow::flush();
    EXPECT_FALSE(rebuilt->popover().get_visible());
}
