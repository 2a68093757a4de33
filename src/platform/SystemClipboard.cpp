#include "platform/SystemClipboard.h"

#include "base/GLibHandles.h"
#include "base/GObjectPtr.h"
#include "base/Logger.h"

#include <cstring>
#include <exception>
#include <gtk/gtk.h>
#include <memory>

namespace lumeris {

namespace {

GtkClipboard* clipboard() {
    return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
}

// A clipboard manager, when one runs, takes the content over as GTK shuts down; storing now
// would wait for it in a nested main loop.
void keepAfterExit() {
    gtk_clipboard_set_can_store(clipboard(), nullptr, 0);
}

GObjectPtr<GdkPixbuf> pixbufFrom(const RgbaImage& image) {
    GObjectPtr<GdkPixbuf> pixbuf(
        gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, image.width, image.height));
    if (!pixbuf) {
        return pixbuf;
    }
    const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf.get());
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(pixels + static_cast<std::size_t>(y) * stride, image.at(0, y),
                    static_cast<std::size_t>(image.width) * 4);
    }
    return pixbuf;
}

RgbaImage imageFrom(GdkPixbuf* pixbuf) {
    RgbaImage image(gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf));
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* source = gdk_pixbuf_read_pixels(pixbuf);
    for (int y = 0; y < image.height; ++y) {
        const guchar* row = source + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < image.width; ++x) {
            const guchar* p = row + static_cast<std::size_t>(x) * channels;
            std::uint8_t* out = image.at(x, y);
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
            out[3] = alpha ? p[3] : 255;
        }
    }
    return image;
}

// Receivers are the caller's code: a failure there must not unwind through GTK.
template <typename Receiver, typename Value> void deliver(Receiver& receiver, Value&& value) {
    try {
        receiver(std::forward<Value>(value));
    } catch (const std::exception& error) {
        LOG_ERROR("A clipboard reader failed: {}", error.what());
    }
}

} // namespace

void SystemClipboard::setImage(const RgbaImage& image) {
    auto pixbuf = pixbufFrom(image);
    if (!pixbuf) {
        LOG_ERROR("Cannot copy a {}x{} image", image.width, image.height);
        return;
    }
    gtk_clipboard_set_image(clipboard(), pixbuf.get());
    keepAfterExit();
}

void SystemClipboard::setText(const std::string& text) {
    gtk_clipboard_set_text(clipboard(), text.c_str(), static_cast<gint>(text.size()));
    keepAfterExit();
}

void SystemClipboard::readImage(ImageReceiver receiver) {
    gtk_clipboard_request_image(
        clipboard(),
        [](GtkClipboard*, GdkPixbuf* pixbuf, gpointer data) {
            std::unique_ptr<ImageReceiver> receiver(static_cast<ImageReceiver*>(data));
            deliver(*receiver, pixbuf != nullptr ? std::optional(imageFrom(pixbuf)) : std::nullopt);
        },
        new ImageReceiver(std::move(receiver)));
}

void SystemClipboard::readText(TextReceiver receiver) {
    gtk_clipboard_request_text(
        clipboard(),
        [](GtkClipboard*, const gchar* text, gpointer data) {
            std::unique_ptr<TextReceiver> receiver(static_cast<TextReceiver*>(data));
            deliver(*receiver, text != nullptr ? std::optional<std::string>(text) : std::nullopt);
        },
        new TextReceiver(std::move(receiver)));
}

void SystemClipboard::readFiles(FilesReceiver receiver) {
    gtk_clipboard_request_uris(
        clipboard(),
        [](GtkClipboard*, gchar** uris, gpointer data) {
            std::unique_ptr<FilesReceiver> receiver(static_cast<FilesReceiver*>(data));
            std::vector<std::filesystem::path> files;
            for (gchar** uri = uris; uri != nullptr && *uri != nullptr; ++uri) {
                GCharPtr path(g_filename_from_uri(*uri, nullptr, nullptr));
                if (path) {
                    files.emplace_back(path.get());
                }
            }
            deliver(*receiver, std::move(files));
        },
        new FilesReceiver(std::move(receiver)));
}

} // namespace lumeris
