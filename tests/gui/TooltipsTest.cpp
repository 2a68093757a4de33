#include "ui/gtk/Tooltips.h"

#include "TemporaryFolder.h"
#include "gui/PopoverTestWindow.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"
#include "ui/TooltipTexts.h"

#include <gtest/gtest.h>

using namespace lumeris;
using namespace lumeris::testing;

namespace {

class TooltipsTest : public ::testing::Test {
protected:
    void show(const std::string& text, Gtk::Widget& view,
              std::optional<std::string> onceID = std::nullopt) {
        tooltips.showTooltip(text, view, PopoverEdge::Bottom, false, std::move(onceID));
        PopoverTestWindow::flush();
    }
    bool visible() { return tooltips.popover()->get_visible(); }

    TemporaryFolder folder;
    SettingsStore settings{folder / "settings.json"};
    PopoverTestWindow ui;
    Tooltips tooltips{settings};
    const std::string hint{SettingKeys::ONBOARD_ASSIGN_SHORTCUT_HINT};
};

} // namespace

TEST_F(TooltipsTest, OneTimeHintsHaveButtonsAndDontShowAgainHidesThemForGood) {
    show(std::string(TooltipTexts::FILE_NAME_VARIABLES), *ui.button);
    auto* controller = tooltips.controller();
    ASSERT_NE(controller, nullptr);
    EXPECT_TRUE(visible());
    EXPECT_FALSE(controller->controlStackView().get_visible());

    show(std::string(TooltipTexts::ONBOARD_ASSIGN_SHORTCUT), *ui.button, hint);
    EXPECT_TRUE(controller->okButton().is_visible() &&
                controller->dontShowAgainButton().is_visible());
    controller->okButton().clicked();
    PopoverTestWindow::flush();
    EXPECT_FALSE(visible());

    show(std::string(TooltipTexts::ONBOARD_ASSIGN_SHORTCUT), *ui.button, hint);
    ASSERT_TRUE(visible()) << "OK alone keeps the hint";
    controller->dontShowAgainButton().clicked();
    PopoverTestWindow::flush();
    EXPECT_FALSE(visible());
    show("replaced text", *ui.button, hint);
    EXPECT_FALSE(visible());
    EXPECT_NE(controller->label().get_text(), "replaced text");
    show(TooltipTexts::error("x"), *ui.button);
    EXPECT_TRUE(visible()) << "other tooltips still show";
}

TEST_F(TooltipsTest, ThePopoverIsReusedUntilItsWindowGoes) {
    show("Error: first", *ui.button);
    auto* popover = tooltips.popover();
    show(TooltipTexts::error("second"), *ui.other);
    EXPECT_EQ(tooltips.popover(), popover);
    EXPECT_EQ(popover->get_relative_to(), ui.other);
    EXPECT_EQ(tooltips.controller()->label().get_text(), "Error: second");
    EXPECT_TRUE(visible());

    auto other = std::make_unique<PopoverTestWindow>();
    tooltips.showTooltip("help", *other->button, PopoverEdge::Top, true);
    PopoverTestWindow::flush();
    EXPECT_EQ(tooltips.popover()->get_position(), Gtk::POS_RIGHT);
    gpointer first = tooltips.popover()->gobj();
    g_object_add_weak_pointer(G_OBJECT(first), &first);
    other.reset();
    PopoverTestWindow::flush();

    show("after", *ui.button);
    EXPECT_EQ(first, nullptr) << "the popover of the closed window was kept";
    if (first != nullptr) {
        g_object_remove_weak_pointer(G_OBJECT(first), &first);
    }
    EXPECT_EQ(tooltips.popover()->get_relative_to(), ui.button);
    EXPECT_EQ(tooltips.popover()->get_position(), Gtk::POS_BOTTOM);
    EXPECT_TRUE(visible());
    EXPECT_EQ(tooltips.controller()->label().get_text(), "after");
}
