#include "platform/MessageDialogAlerts.h"

#include "gui/PrivateDisplay.h"
#include "gui/RendererTestSupport.h"

#include <gtest/gtest.h>

using namespace lumeris;
using lumeris::testing::runUntil;

static Gtk::MessageDialog* openDialog() {
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
        if (auto* dialog = dynamic_cast<Gtk::MessageDialog*>(window);
            dialog && dialog->get_visible()) {
            return dialog;
        }
    }
    return nullptr;
}

TEST(MessageDialogAlerts, AnswersWithTheButtonIndexWithoutBlocking) {
    // Dialogs take the focus: not from tests running beside this one.
    lumeris::testing::PrivateDisplay display;
    ASSERT_TRUE(display) << display.error();
    MessageDialogAlerts alerts;
    const AlertRequest request{
        "Replace the file?", "A file with this name exists.", {"Replace", "Keep Both", "Cancel"}};
    for (const auto& [response, expected] :
         {std::pair{1, 1}, {0, 0}, {int(GTK_RESPONSE_DELETE_EVENT), 2}}) {
        int answer = -1;
        alerts.show(request, [&answer](int index) { answer = index; });
        Gtk::MessageDialog* dialog = nullptr;
        ASSERT_TRUE(runUntil([&] { return (dialog = openDialog()) != nullptr; }, 5));
        ASSERT_TRUE(runUntil([&] { return dialog->get_mapped(); }, 5));

        auto* first = dialog->get_widget_for_response(0);
        auto* last = dialog->get_widget_for_response(2);
        ASSERT_TRUE(first && last);
        EXPECT_TRUE(first->has_default());
        EXPECT_GT(first->get_allocation().get_x(), last->get_allocation().get_x())
            << "the default button stands at the end";

        dialog->response(response);
        EXPECT_EQ(answer, expected) << response;
        EXPECT_TRUE(runUntil([] { return openDialog() == nullptr; }, 5));
    }
}
