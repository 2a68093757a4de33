#include "base/GLibHandles.h"

#include <algorithm>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <set>
#include <string>

// The desktop entry offers Lumeris for exactly the images it can open: every image type it
// declares is one GdkPixbuf reads here, and the application address is handled.
TEST(DesktopEntryTest, DeclaresOnlyImageTypesGdkPixbufReads) {
    std::set<std::string> readable;
    GSList* formats = gdk_pixbuf_get_formats();
    for (GSList* item = formats; item != nullptr; item = item->next) {
        gchar** types = gdk_pixbuf_format_get_mime_types(static_cast<GdkPixbufFormat*>(item->data));
        for (gchar** type = types; *type != nullptr; ++type) {
            readable.insert(*type);
        }
        g_strfreev(types);
    }
    g_slist_free(formats);

    lumeris::GHandle<GKeyFile, g_key_file_free> entry(g_key_file_new());
    ASSERT_TRUE(g_key_file_load_from_file(
        entry.get(), LUMERIS_SOURCE_DIR "/resources/desktop/app.lumeris.Lumeris.desktop",
        G_KEY_FILE_NONE, nullptr));
    gsize count = 0;
    gchar** declared = g_key_file_get_string_list(entry.get(), G_KEY_FILE_DESKTOP_GROUP, "MimeType",
                                                  &count, nullptr);
    ASSERT_NE(declared, nullptr);
    const std::set<std::string> types(declared, declared + count);
    g_strfreev(declared);

    EXPECT_TRUE(types.contains("x-scheme-handler/lumeris"));
    EXPECT_TRUE(types.contains("image/png") && types.contains("image/jpeg"));
    for (const std::string& type : types) {
        if (type.starts_with("image/")) {
            EXPECT_TRUE(readable.contains(type)) << type << " is declared but not readable";
        }
    }
}
