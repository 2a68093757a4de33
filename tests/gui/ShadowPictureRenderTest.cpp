// The off-screen renderer paints once, hidden, and its pre-blurred shadow stands in for the
// style sheet's box-shadow: both must keep the picture as a shown view draws it.
#include "analysis/ImageSize.h"
#include "base/Base64.h"
#include "export/ImageEncoder.h"
#include "gui/RendererTestSupport.h"
#include "render/EditorDocument.h"
#include "support/ImageFiles.h"

#include <cstdlib>
#include <iostream>

using namespace lumeris;
using namespace lumeris::testing;

namespace {

struct Drawn {
    std::string html;
    int width = 0;
    int height = 0;
};

// The editor's document of a striped 800 × 500 screenshot with `shadow` and `radius`.
Drawn document(int shadow, int radius, int tilt, bool shadowPicture) {
    StyleSheetInputs in;
    in.borderRadius = radius, in.padding = 70, in.inset = 12, in.shadow = shadow;
    in.tiltX = tilt, in.tiltY = tilt;
    in.backgroundID = "custom", in.bgColorOption = "gradient";
    in.gradientStart = "#c04180", in.gradientStop = "#e5d074";
    in.ratio = "auto", in.insetEnabled = true, in.borderColor = "#3366aa";
    in.imageWidth = 800, in.imageHeight = 500;
    in.shadowPictureScale = shadowPicture ? 1 : 0;
    const RgbaImage image =
        painted(800, 500, [](int x, int y) { return rgba(x, (y / 10) % 2 != 0 ? 230 : 40, y); });
    const ImageSize size(in.inset, in.padding, in.ratio, "", 800, 500);
    return {EditorDocument::html(EditorDocument::styleSheet(in), "",
                                 Base64::encode(ImageEncoder::pngData(image)), {}, {}, 800, 500),
            static_cast<int>(size.bgWidth), static_cast<int>(size.bgHeight)};
}

RgbaImage rendered(const Drawn& drawn) {
    std::string error;
    auto picture =
        RenderWindow::renderOnce(drawn.html, baseUri(), drawn.width, drawn.height, &error);
    EXPECT_TRUE(picture) << error;
    return picture.value_or(RgbaImage());
}

// As the editor draws: the view shown, painted for display before its snapshot.
RgbaImage shown(const Drawn& drawn) {
    RenderWindow window(drawn.width, drawn.height);
    window.showForInput();
    EXPECT_EQ(loadDocument(window, drawn.html), std::nullopt);
    ShotResult shot = screenshot(window.view(), false);
    EXPECT_TRUE(shot.image) << shot.error.value_or("");
    return shot.image ? *shot.image : RgbaImage();
}

struct Difference {
    int largest = 0;
    double mean = 0;
    double beyondFew = 0; // the share of channel values more than 4 levels off
};

Difference difference(const RgbaImage& a, const RgbaImage& b) {
    Difference d;
    long long sum = 0;
    long long beyond = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const int delta = std::abs(a.pixels[i] - b.pixels[i]);
        d.largest = std::max(d.largest, delta);
        sum += delta;
        beyond += delta > 4 ? 1 : 0;
    }
    d.beyondFew = static_cast<double>(beyond) / static_cast<double>(a.pixels.size());
    d.mean = a.pixels.empty() ? 0 : static_cast<double>(sum) / static_cast<double>(a.pixels.size());
    return d;
}

} // namespace

TEST(ShadowPictureRenderTest, HiddenRendererDrawsWhatAShownViewDraws) {
    const Drawn drawn = document(60, 24, 15, false);
    const RgbaImage reference = shown(drawn);
    for (int run = 0; run < 3; ++run) {
        const RgbaImage picture = rendered(drawn);
        ASSERT_EQ(sizeOf(picture), std::pair(drawn.width, drawn.height));
        EXPECT_TRUE(picture == reference) << "run " << run << ": largest channel difference "
                                          << difference(picture, reference).largest;
    }
}

// Shadow strengths and radii across their ranges, flat and tilted; the figures go to the README.
TEST(ShadowPictureRenderTest, PreBlurredShadowKeepsTheLook) {
    struct Case {
        int shadow;
        int radius;
        int tilt;
    };
    for (const Case c : {Case{25, 10, 15}, Case{40, 30, 15}, Case{5, 60, 15}, Case{40, 0, 25}}) {
        SCOPED_TRACE(::testing::Message() << c.shadow << " " << c.radius << " " << c.tilt);
        const RgbaImage reference = rendered(document(c.shadow, c.radius, c.tilt, false));
        const Drawn drawn = document(c.shadow, c.radius, c.tilt, true);
        ASSERT_NE(drawn.html.find("border-image-source"), std::string::npos);
        const RgbaImage picture = rendered(drawn);
        ASSERT_EQ(sizeOf(picture), sizeOf(reference));
        const Difference d = difference(picture, reference);
        std::cout << "shadow " << c.shadow << ", radius " << c.radius << ", tilt " << c.tilt
                  << ": largest channel difference " << d.largest << ", mean " << d.mean
                  << ", more than 4 levels off " << d.beyondFew * 100 << " %\n";
        // A few levels; more only on the antialiased outline of the box, where the picture lies
        // over the box's background and box-shadow under it.
        EXPECT_LT(d.mean, 0.2);
        EXPECT_LT(d.beyondFew, 0.005);
        EXPECT_LE(d.largest, 24);
    }
}
