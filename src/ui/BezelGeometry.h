#pragma once

#include "base/Rect.h"
#include "ui/BezelLocation.h"
#include "ui/BezelSize.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace lumeris {

// Where a bezel stands and how its icon is sized. Rectangles here are in the desktop's layout
// coordinates: origin at the top-left, y growing downwards.
class BezelGeometry {
public:
    static constexpr double SIDE = 200.0;
    static constexpr double BOTTOM_MARGIN = 140.0;
    static constexpr double ICON_LIMIT = 120.0;
    // Where a bezel goes when there is no monitor to centre it on.
    static constexpr Rect FALLBACK_FRAME{48.0, 48.0, SIDE, SIDE};

    struct Size {
        double width = 0;
        double height = 0;
        bool operator==(const Size&) const = default;
    };

    static Size size(BezelSize size);

    // The bezel's frame on the main monitor (`primary`, or else the first of `monitors`).
    static Rect frame(const std::vector<Rect>& monitors, std::optional<std::size_t> primary,
                      BezelLocation location = BezelLocation::Normal,
                      BezelSize size = BezelSize::Normal);

    // An icon keeps its natural size unless a side reaches ICON_LIMIT; then the side that
    // overflows more (the width on a tie) is brought to ICON_LIMIT, keeping the aspect ratio.
    static Size fittedIconSize(Size natural);

    // Where the icon is drawn inside the bezel: centred horizontally, and vertically midway
    // between the bezel's top and the top of the message (`messageTop`, from the bezel's top).
    static Rect iconRect(Size fitted, double messageTop, BezelSize size = BezelSize::Normal);
};

} // namespace lumeris
