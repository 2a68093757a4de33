#include "platform/NativeFileChooser.h"

#include "TemporaryFolder.h"
#include "gui/RendererTestSupport.h"

#include <gtest/gtest.h>

using namespace lumeris;
using lumeris::testing::runUntil;

static GtkDialog* openChooser() {
    GList* windows = gtk_window_list_toplevels();
    GtkDialog* found = nullptr;
    for (GList* item = windows; item != nullptr; item = item->next) {
        if (GTK_IS_FILE_CHOOSER_DIALOG(item->data) &&
            gtk_widget_get_visible(GTK_WIDGET(item->data))) {
            found = GTK_DIALOG(item->data);
        }
    }
    g_list_free(windows);
    return found;
}

TEST(NativeFileChooser, SaveAnswersWithTheSuggestedFileOrNothing) {
    TemporaryFolder folder;
    NativeFileChooser chooser;
    const FileChooserRequest request{
        "Save Screenshot", folder.path(), "Lumeris.png", {{"PNG image", {"*.png"}}}};
    for (const int response : {GTK_RESPONSE_ACCEPT, GTK_RESPONSE_CANCEL}) {
        std::optional<std::optional<std::filesystem::path>> answer;
        chooser.chooseFileToSave(request, [&answer](auto path) { answer = std::move(path); });
        GtkDialog* dialog = nullptr;
        ASSERT_TRUE(runUntil([&] { return (dialog = openChooser()) != nullptr; }, 10));
        // Saving is refused until the suggested folder has loaded.
        ASSERT_TRUE(runUntil(
            [&] {
                g_autofree gchar* current =
                    gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(dialog));
                return current != nullptr && folder.path() == current;
            },
            10));
        // Through the button, as the dialog checks the name before it answers.
        gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(dialog, response)));
        ASSERT_TRUE(runUntil([&] { return answer.has_value(); }, 10)) << response;
        if (response == GTK_RESPONSE_ACCEPT) {
            EXPECT_EQ(*answer, folder / "Lumeris.png");
        } else {
            EXPECT_FALSE(*answer);
        }
        EXPECT_TRUE(runUntil([] { return openChooser() == nullptr; }, 5));
    }
}
