#include "platform/SystemClipboard.h"

#include "export/ImageReader.h"
#include "gui/PrivateDisplay.h"
#include "gui/RendererTestSupport.h"

#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <thread>

using namespace lumeris;
using lumeris::testing::runUntil;

namespace {

// What another program reads from the clipboard; our main loop serves it meanwhile.
std::optional<std::string> readWithXclip(const std::string& display, const std::string& target) {
    const std::string command =
        "DISPLAY=" + display + " timeout 10 xclip -selection clipboard -t " + target + " -o";
    std::string output;
    bool ok = false;
    std::atomic<bool> done = false;
    std::thread reader([&] {
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
                output.append(buffer, n);
            }
            ok = pclose(pipe) == 0;
        }
        done = true;
    });
    runUntil([&] { return done.load(); }, 15);
    reader.join();
    return ok ? std::optional(output) : std::nullopt;
}

// What this program reads back through the asynchronous interface.
template <typename T, typename Read> std::optional<T> readBack(Read read) {
    std::optional<T> value;
    bool answered = false;
    read([&](std::optional<T> read) {
        value = std::move(read);
        answered = true;
    });
    EXPECT_TRUE(runUntil([&] { return answered; }, 10));
    return value;
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
    EXPECT_EQ(readBack<std::string>([&](auto receiver) { clipboard.readText(receiver); }), text);

    RgbaImage image(3, 2);
    image.pixels = {255, 0,  0,  255, 0, 255, 0, 255, 0, 0, 255, 255,
                    10,  20, 30, 128, 0, 0,   0, 0,   7, 8, 9,   255};
    clipboard.setImage(image);
    auto png = readWithXclip(display.name(), "image/png");
    ASSERT_TRUE(png);
    auto decoded =
        ImageReader::readData(reinterpret_cast<const std::uint8_t*>(png->data()), png->size());
    EXPECT_EQ(decoded ? decoded->image : RgbaImage(), image);
    EXPECT_EQ(readBack<RgbaImage>([&](auto receiver) { clipboard.readImage(receiver); }), image);
    gtk_clipboard_clear(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
}
