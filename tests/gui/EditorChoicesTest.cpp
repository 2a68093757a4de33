#include "app/gtk/WatermarkTemplateWindow.h"
#include "editor/ImageLoadPipeline.h"
#include "editor/gtk/BackgroundColorPickerViewController.h"
#include "gui/EditorWindowFixture.h"
#include "ui/gtk/PopoverRegistry.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace lumeris;
using namespace lumeris::testing;

namespace {

// Editors as the application opens them, with its template window and signal.
class EditorChoicesTest : public EditorWindowFixture {
protected:
    EditorChoicesTest() {
        settings.set(SettingKeys::SCREENSHOT_PATH, (folder / "archive").string());
        settings.set(SettingKeys::AUTO_REDACT, false);
    }

    // Whether the shown document's markup (its style sheet included) holds `text`.
    static bool documentHolds(EditorWindow& editor, const std::string& text) {
        return evaluate(editor.renderer(),
                        "document.documentElement.outerHTML.includes('" + text + "')") == "true";
    }

    std::unique_ptr<EditorWindow> openEditor() {
        auto with = dependencies();
        with.showWatermarkTemplates = [this] {
            templates->present();
        };
        with.watermarkTextSelected = &selected;
        auto window = EditorWindow::create(std::move(with));
        EXPECT_TRUE(window);
        window->show();
        return window;
    }

    sigc::signal<void()> selected;
    std::unique_ptr<WatermarkTemplateWindow> templates;
};

} // namespace

TEST_F(EditorChoicesTest, ATemplatePickedInTheWindowReachesEveryOpenEditor) {
    settings.set(SettingKeys::WATERMARK_TEMPLATES,
                 std::vector<std::string>{"Docs team", "Release {date:yyyy}"});
    templates = WatermarkTemplateWindow::create(settings, [this] { selected.emit(); });
    ASSERT_TRUE(templates);
    auto first = openEditor();
    auto second = openEditor();
    ASSERT_TRUE(first && second);

    // The button beside the watermark field.
    dynamic_cast<Gtk::Button*>(first->watermarkField().get_parent()->get_children().back())
        ->clicked();
    ASSERT_TRUE(runUntil([&] { return templates->get_visible(); }));
    templates->tableView().get_selection()->unselect_all();
    EXPECT_FALSE(templates->selectButton().get_sensitive());
    // A double-click on the second row.
    Gtk::TreeModel::Path row;
    row.push_back(1);
    templates->tableView().get_selection()->select(row);
    EXPECT_TRUE(templates->selectButton().get_sensitive());
    templates->tableView().row_activated(row, *templates->tableView().get_column(0));

    EXPECT_FALSE(templates->get_visible());
    for (auto* editor : {first.get(), second.get()}) {
        EXPECT_EQ(editor->watermarkField().get_text(), "Release {date:yyyy}");
    }
    EXPECT_EQ(settings.string(SettingKeys::WATERMARK_TEXT, ""), "Release {date:yyyy}");

    // Add twice leaves one blank row, which editing starts on.
    templates->present();
    templates->addAction();
    templates->addAction();
    EXPECT_EQ(templates->templates().templates().size(), 3U);
    ASSERT_TRUE(runUntil(
        [&] { return templates->tableView().get_selection()->count_selected_rows() == 1; }));
}

TEST_F(EditorChoicesTest, TheBackgroundPickerStoresEachChoiceAndSwitchesToIt) {
    auto editor = openEditor();
    ASSERT_TRUE(editor);
    RgbaImage image(40, 30);
    std::fill(image.pixels.begin(), image.pixels.end(), 200);
    editor->loadImage(ImageLoadPipeline::prepare(LoadedImage{image, 40, 30}, folder / "shot.png",
                                                 settings, std::chrono::system_clock::now()));
    ASSERT_TRUE(runUntil([&] { return editor->renderer().pageLoaded(); }));
    editor->backgroundButton("custom").clicked();
    auto* entry = PopoverRegistry::shared().find("bg-picker");
    ASSERT_NE(entry, nullptr);
    auto* picker = entry->contentAs<BackgroundColorPickerViewController>();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(settings.string(SettingKeys::BACKGROUND_ID, ""), "custom");

    // Touching a gradient well while "plain" is chosen switches to the gradient.
    settings.set(SettingKeys::BG_COLOR_OPTION, std::string("plain"));
    picker->reload();
    picker->colorWell("gradient-stop").set_rgba(Gdk::RGBA("#102030"));
    g_signal_emit_by_name(picker->colorWell("gradient-stop").gobj(), "color-set");
    EXPECT_EQ(settings.string(SettingKeys::BG_COLOR_OPTION, ""), "gradient");
    EXPECT_EQ(settings.string(SettingKeys::BG_COLOR_GRADIENT_STOP, ""), "#102030");
    EXPECT_TRUE(picker->optionButton("gradient").get_active());

    // "rain" leaves the colour option alone.
    picker->builtInButton("rain").clicked();
    EXPECT_EQ(settings.string(SettingKeys::BACKGROUND_ID, ""), "rain");
    EXPECT_EQ(settings.string(SettingKeys::BG_COLOR_OPTION, ""), "gradient");

    // A file that is no picture is refused and changes nothing.
    chooser->answer = folder / "notes.txt";
    std::ofstream(*chooser->answer) << "not a picture";
    picker->selectFileButton().clicked();
    ASSERT_EQ(alerts->shown.size(), 1U);
    EXPECT_EQ(chooser->opened.back().title, "Select a background image");
    EXPECT_TRUE(chooser->opened.back().showHidden);
    EXPECT_EQ(settings.string(SettingKeys::BG_COLOR_OPTION, ""), "gradient");

    chooser->answer = folder / "wall.png";
    auto picture = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, false, 8, 4, 4);
    picture->fill(0x3366ccff);
    picture->save(chooser->answer->string(), "png");
    // The same picture twice: each choice is a new reference, so the renderer never shows a
    // picture it cached under the previous one.
    for (const char* reference : {"cacheID=custom-1", "cacheID=custom-2"}) {
        picker->selectFileButton().clicked();
        EXPECT_EQ(settings.string(SettingKeys::BG_COLOR_OPTION, ""), "file");
        EXPECT_EQ(settings.string(SettingKeys::BACKGROUND_ID, ""), "custom");
        EXPECT_EQ(settings.string(SettingKeys::CUSTOM_BACKGROUND_FILE_PATH, ""),
                  chooser->answer->string());
        EXPECT_TRUE(documentHolds(*editor, reference)) << reference;
    }
}
