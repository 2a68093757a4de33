#pragma once

#include "base/Rect.h"
#include "base/RgbaImage.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace lumeris {

// Where a composed picture differs from an image it shows pixel for pixel, apart from the
// redaction boxes drawn over it: what a second reading of the picture must cover, the rest being
// pixels already read. The picture is compared at the image's own pixels, so anything scaled,
// tilted or blended differs everywhere and is read in full.
class ChangedBands {
public:
    struct Position {
        int x = 0;
        int y = 0;
        bool operator==(const Position&) const = default;
    };

    // Rows [top, bottom) of the picture.
    struct Band {
        int top = 0;
        int bottom = 0;
        bool operator==(const Band&) const = default;
    };

    // Channels within this many levels count as the same.
    static constexpr int TOLERANCE = 2;
    // How far a band grows to reach a gap between lines, in pixels.
    static constexpr int MAX_GROWTH = 96;

    // `boxes`: the opaque boxes of colour `boxRgb` (0xRRGGBB) drawn over the image, in its pixels
    // with rows from the top. Inside a box (but for its antialiased edge) the picture must show
    // the box colour; on its edge, a blend of the box and the image.
    ChangedBands(const RgbaImage& image, const std::vector<Rect>& boxes, std::uint32_t boxRgb);

    // Where the image lies unscaled in `picture` (its top-left pixel); none when it is not found.
    std::optional<Position> locate(const RgbaImage& picture) const;

    // The picture's rows to read when the image lies at `at`: every row outside the image, and
    // every row where the two differ other than by the boxes, grown to the nearest pair of equal
    // rows (a gap between lines) so that no line of text is cut. In order, not overlapping.
    std::vector<Band> bands(const RgbaImage& picture, Position at) const;

private:
    struct PixelBox {
        int left, top, right, bottom;                     // every pixel the box may touch
        int innerLeft, innerTop, innerRight, innerBottom; // pixels it surely covers
    };

    const PixelBox* boxAt(int x, int y) const;
    // Whether picture pixel `p` is what the image pixel at (x, y) looks like with the boxes.
    bool accounted(const std::uint8_t* p, int x, int y) const;

    const RgbaImage& image_;
    std::vector<PixelBox> boxes_;
    std::uint8_t boxColour_[4];
};

} // namespace lumeris
