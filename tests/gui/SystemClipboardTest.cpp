#include "platform/SystemClipboard.h"

#include "base/GObjectPtr.h"
#include "export/ImageReader.h"
#include "gui/PrivateDisplay.h"
#include "gui/RendererTestSupport.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

using namespace lumeris;
using lumeris::testing::runUntil;

namespace {

// What another program reads from the clipboard, fetched while this one's main loop serves it.
std::optional<std::string> readWithXclip(const std::string& display, const char* target) {
    GObjectPtr<GSubprocessLauncher> launcher(
        g_subprocess_launcher_new(G_SUBPROCESS_FLAGS_STDOUT_PIPE));
    g_subprocess_launcher_setenv(launcher.get(), "DISPLAY", display.c_str(), TRUE);
    GObjectPtr<GSubprocess> xclip(g_subprocess_launcher_spawn(
        launcher.get(), nullptr, "xclip", "-selection", "clipboard", "-t", target, "-o", nullptr));
    if (!xclip) {
        return std::nullopt;
    }
    struct Result {
        bool done = false;
        std::optional<std::string> output;
    } result;
    g_subprocess_communicate_async(
        xclip.get(), nullptr, nullptr,
        [](GObject* source, GAsyncResult* async, gpointer data) {
            auto* result = static_cast<Result*>(data);
            GBytes* out = nullptr;
            if (g_subprocess_communicate_finish(G_SUBPROCESS(source), async, &out, nullptr,
                                                nullptr) &&
                g_subprocess_get_successful(G_SUBPROCESS(source)) && out != nullptr) {
                gsize size = 0;
                const auto* bytes = static_cast<const char*>(g_bytes_get_data(out, &size));
                result->output = std::string(bytes, size);
            }
            if (out != nullptr) {
                g_bytes_unref(out);
            }
            result->done = true;
        },
        &result);
    runUntil([&] { return result.done; }, 10);
    return result.output;
}

} // namespace

// Text and image in one test: they share the one clipboard.
TEST(SystemClipboard, OtherProgramsAndWeReadTextAndPngImagesBack) {
    lumeris::testing::PrivateDisplay display;
    ASSERT_TRUE(display) << display.error();
    SystemClipboard clipboard;
    const std::string text = "Grüße — Lumeris ✓";
    clipboard.setText(text);
    EXPECT_EQ(readWithXclip(display.name(), "UTF8_STRING"), text);

    std::optional<std::string> readText;
    bool answered = false;
    clipboard.readText([&](std::optional<std::string> value) {
        readText = std::move(value);
        answered = true;
    });
    ASSERT_TRUE(runUntil([&] { return answered; }, 10));
    EXPECT_EQ(readText, text);

    RgbaImage image(3, 2);
    const std::uint8_t colours[6][4] = {{255, 0, 0, 255},  {0, 255, 0, 255}, {0, 0, 255, 255},
                                        {10, 20, 30, 128}, {0, 0, 0, 0},     {7, 8, 9, 255}};
    for (int i = 0; i < 6; ++i) {
        std::copy(colours[i], colours[i] + 4, image.at(i % 3, i / 3));
    }
    clipboard.setImage(image);
    auto png = readWithXclip(display.name(), "image/png");
    ASSERT_TRUE(png);
    ASSERT_GT(png->size(), 8u);
    EXPECT_EQ(png->substr(1, 3), "PNG");
    auto decoded =
        ImageReader::readData(reinterpret_cast<const std::uint8_t*>(png->data()), png->size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->image, image);

    std::optional<RgbaImage> readImage;
    answered = false;
    clipboard.readImage([&](std::optional<RgbaImage> value) {
        readImage = std::move(value);
        answered = true;
    });
    ASSERT_TRUE(runUntil([&] { return answered; }, 10));
    EXPECT_EQ(readImage, image);
    gtk_clipboard_clear(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
}
