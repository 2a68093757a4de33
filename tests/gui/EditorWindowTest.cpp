#include "editor/gtk/EditorWindow.h"

#include "TemporaryFolder.h"
#include "base/BuildInfo.h"
#include "gui/RendererTestSupport.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

using namespace lumeris;
using namespace lumeris::testing;

namespace {

// A 160 × 100 screenshot: a dark frame around a light field with a darker bar, so that rounded
// corners and edges would show any resampling.
LoadedImage screenshotPicture() {
    RgbaImage image(160, 100);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const bool frame = x < 6 || y < 6 || x >= 154 || y >= 94;
            const bool bar = y >= 40 && y < 52 && x >= 20 && x < 120;
            const std::uint8_t grey = frame ? 40 : (bar ? 90 : 235);
            std::uint8_t* at = image.at(x, y);
            at[0] = at[1] = at[2] = grey;
            at[3] = 255;
        }
    }
    return LoadedImage{image, 160, 100};
}

} // namespace

TEST(EditorWindowTest, ShowsTheComposedPictureAndExportsTheCanvasAtEveryZoom) {
    ASSERT_FALSE(baseUri().empty()) << "viewer.html not found";
    TemporaryFolder folder;
    SettingsStore settings(folder / "settings.json");
    settings.registerDefaultSettings();
    settings.set(std::string(SettingKeys::AUTO_REDACT.name), false);
    auto prepared = ImageLoadPipeline::prepare(screenshotPicture(), folder / "shot.png", settings,
                                               std::chrono::system_clock::now());
    const ImageSize canvas = ImageLoadPipeline::canvas(prepared);

    EditorWindow window(settings, nullptr, {}, baseUri());
    window.showImage(prepared);
    window.show();
    EXPECT_EQ(window.get_title(), prepared.fileName + " - Lumeris " + build::VERSION + " (" +
                                      build::BUILD_NUMBER + ")");
    int width = 0;
    int height = 0;
    window.get_size(width, height);
    EXPECT_GE(width, 1200);

    CustomWKWebView& view = window.renderer();
    auto reference = screenshot(view, false);
    ASSERT_TRUE(reference.image) << reference.error.value_or("");
    EXPECT_EQ(reference.image->width, static_cast<int>(std::lround(canvas.bgWidth)));
    EXPECT_EQ(reference.image->height, static_cast<int>(std::lround(canvas.bgHeight)));
    // On screen, in a scrolled window larger than the canvas, as the user sees it.
    expectSnapshotsIgnoreZoom(view, *reference.image);
}
