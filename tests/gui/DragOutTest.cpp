#include "editor/EditorBackgroundWork.h"
#include "editor/ImageIntake.h"
#include "export/ImageReader.h"
#include "fakes/FakeSoundPlayer.h"
#include "fakes/FakeTextRecognizer.h"
#include "gui/EditorWindowFixture.h"
#include "gui/PrivateDisplay.h"
#include "support/ImageFiles.h"

#include <glibmm/convert.h>
#include <gtest/gtest.h>
#include <gtkmm/window.h>

// Xlib macros break gtkmm headers included after them.
#include <gdk/gdkx.h>

using namespace lumeris;
using namespace lumeris::testing;

// Real drags, driven by xdotool on a display of the test's own: the X server moves the pointer and
// presses the button, and GTK runs the drag-and-drop protocol between the editor and a target
// window of this test.
namespace {

struct Point {
    int x;
    int y;
};

// The middle of `widget` on the screen.
Point middleOf(GtkWidget* widget) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    int x = 0;
    int y = 0;
    gtk_widget_translate_coordinates(widget, toplevel, gtk_widget_get_allocated_width(widget) / 2,
                                     gtk_widget_get_allocated_height(widget) / 2, &x, &y);
    int originX = 0;
    int originY = 0;
    gdk_window_get_origin(gtk_widget_get_window(toplevel), &originX, &originY);
    return {originX + x, originY + y};
}

// No window manager runs: top-level windows are the root's children, lowest first.
bool stackedAbove(Gtk::Window& upper, Gtk::Window& lower) {
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    int upperAt = -1;
    int lowerAt = -1;
    for (unsigned i = 0; i < count; ++i) {
        upperAt = children[i] == GDK_WINDOW_XID(upper.get_window()->gobj()) ? int(i) : upperAt;
        lowerAt = children[i] == GDK_WINDOW_XID(lower.get_window()->gobj()) ? int(i) : lowerAt;
    }
    XFree(children);
    return upperAt > lowerAt && lowerAt >= 0;
}

// A window taking file URIs, or refusing them at the drop.
class DropTarget {
public:
    explicit DropTarget(bool accepts) {
        window.set_decorated(false);
        window.set_default_size(240, 160);
        window.drag_dest_set({Gtk::TargetEntry("text/uri-list")},
                             accepts ? Gtk::DEST_DEFAULT_ALL : Gtk::DEST_DEFAULT_MOTION,
                             Gdk::ACTION_COPY);
        window.signal_drag_motion().connect(
            [this](const Glib::RefPtr<Gdk::DragContext>&, int, int, guint) {
                ++motions;
                return false;
            });
        window.signal_drag_data_received().connect(
            [this](const Glib::RefPtr<Gdk::DragContext>&, int, int, const Gtk::SelectionData& data,
                   guint, guint) { uris = data.get_uris(); });
        window.signal_drag_drop().connect(
            [accepts](const Glib::RefPtr<Gdk::DragContext>& context, int, int, guint time) {
                if (!accepts) {
                    context->drag_finish(false, false, time);
                }
                return !accepts;
            });
        window.show();
    }

    Gtk::Window window;
    std::vector<Glib::ustring> uris;
    int motions = 0;
};

// WebKit draws through the display it first met for the rest of the process, so the tests here
// share one display of their own (and need a process without earlier renderer tests, as CTest
// gives every test).
PrivateDisplay& dragDisplay() {
    static PrivateDisplay display;
    return display;
}

class DragOutWindowTest : public EditorWindowFixture {
protected:
    DragOutWindowTest() { settings.set(SettingKeys::SAVE_SCREENSHOT, false); }

    // An editor stacked above `target`, which lies under its picture.
    void open(DropTarget& target) {
        ASSERT_TRUE(display) << display.error();
        auto with = dependencies();
        with.sounds = sounds;
        with.recognize = EditorBackgroundWork::recognition(recognizer, settings);
        window = EditorWindow::create(std::move(with));
        ASSERT_TRUE(window);
        window->show();
        bool loaded = false;
        window->loadImage(ImageLoadPipeline::prepare(LoadedImage{screenshot(160, 100), 160, 100},
                                                     folder / "shot.png", settings,
                                                     std::chrono::system_clock::now()),
                          [&] { loaded = true; });
        ASSERT_TRUE(runUntil([&] { return loaded && window->renderer().pageLoaded(); }));
        const Point view = middleOf(window->renderer().widget());
        target.window.move(view.x - 300, view.y - 80);
        ASSERT_TRUE(runUntil([&] { return stackedAbove(*window, target.window); }, 5));
    }

    void xdotool(const std::string& arguments) {
        const std::string command = "DISPLAY=" + display.name() + " xdotool " + arguments;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    void movePointer(Point to) {
        xdotool("mousemove " + std::to_string(to.x) + " " + std::to_string(to.y));
    }

    bool dragging() {
        GdkDisplay* gdk = gdk_display_get_default();
        return gdk_display_device_is_grabbed(
            gdk, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk)));
    }

    // Over the target, twice, so that it has answered before the button is released.
    void dropOn(DropTarget& target) {
        const Point middle = middleOf(GTK_WIDGET(target.window.gobj()));
        movePointer(middle);
        ASSERT_TRUE(runUntil([&] { return target.motions > 0; }, 5));
        movePointer({middle.x + 2, middle.y + 2});
        ASSERT_TRUE(runUntil([&] { return target.motions > 1; }, 5));
        xdotool("mouseup 1");
    }

    PrivateDisplay& display = dragDisplay();
    std::shared_ptr<FakeTextRecognizer> recognizer = std::make_shared<FakeTextRecognizer>();
    std::shared_ptr<FakeSoundPlayer> sounds = std::make_shared<FakeSoundPlayer>();
    std::unique_ptr<EditorWindow> window;
};

} // namespace

TEST_F(DragOutWindowTest, LeavingThePictureWithTheButtonDownDropsACanvasSizedFile) {
    DropTarget target(true);
    open(target);
    movePointer(middleOf(window->renderer().widget()));
    xdotool("mousedown 1");
    // The page has seen the press (and told the editor) once it marks the body.
    ASSERT_TRUE(runUntil([&] {
        return evaluate(window->renderer(),
                        "document.body.classList.contains('webview-mousedown')") == "true";
    }));
    movePointer(middleOf(GTK_WIDGET(window->dragArea().gobj())));
    ASSERT_TRUE(runUntil([&] { return dragging(); }));
    EXPECT_TRUE(stackedAbove(target.window, *window)) << "the editor was not lowered";
    dropOn(target);

    ASSERT_TRUE(runUntil([&] { return !target.uris.empty() && !window->get_visible(); }));
    ASSERT_EQ(target.uris.size(), 1U);
    const std::string path = Glib::filename_from_uri(target.uris[0]);
    EXPECT_EQ(
        path,
        (ImageIntake::defaultTemporaryFolder() / window->controller().session().fileName).string());
    const auto dropped = ImageReader::read(path);
    ASSERT_TRUE(dropped);
    const ImageSize canvas = ImageLoadPipeline::canvas(window->controller().session());
    EXPECT_EQ(sizeOf(dropped->image), sizeOf(canvas));
    EXPECT_EQ(sounds->played, (std::vector<std::string>{"Purr", "Glass"}));
    EXPECT_TRUE(settings.boolValue(SettingKeys::FIRST_DRAG_DONE, false));
    std::filesystem::remove(path);
}

TEST_F(DragOutWindowTest, ARefusedDropFromTheDragAreaBringsTheEditorBack) {
    settings.set(SettingKeys::IMAGE_COMPRESSION, true);
    DropTarget target(false);
    open(target);
    movePointer(middleOf(GTK_WIDGET(window->dragArea().gobj())));
    xdotool("mousedown 1");
    ASSERT_TRUE(runUntil([&] { return dragging(); }));
    dropOn(target);

    ASSERT_TRUE(runUntil([&] { return sounds->played.size() == 2; }));
    EXPECT_EQ(sounds->played[1], "Bottle");
    EXPECT_TRUE(window->get_visible());
    EXPECT_TRUE(runUntil([&] { return stackedAbove(*window, target.window); }, 5));
    EXPECT_TRUE(settings.boolValue(SettingKeys::FIRST_DRAG_DONE, false));
    // Compression is on: the offered file was a JPEG.
    std::filesystem::path offered =
        ImageIntake::defaultTemporaryFolder() / window->controller().session().fileName;
    offered.replace_extension("jpg");
    EXPECT_TRUE(std::filesystem::exists(offered));
    std::filesystem::remove(offered);
}
