#include "ui/BezelIcon.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace lumeris;

TEST(BezelIcon, EveryShippedIconLoadsAsAWhiteGlyph) {
    for (const char* name :
         {BezelIcon::CHECK, BezelIcon::COMPRESS, BezelIcon::NO_IMAGE, BezelIcon::PROCESSING}) {
        auto icon = BezelIcon::named(name);
        ASSERT_TRUE(icon) << name;
        EXPECT_EQ(std::pair(icon->width, icon->height), std::pair(96, 96)) << name;
        bool anyWhite = false;
        for (std::size_t i = 0; i + 3 < icon->pixels.size(); i += 4) {
            anyWhite |= std::all_of(&icon->pixels[i], &icon->pixels[i + 4],
                                    [](std::uint8_t v) { return v == 255; });
        }
        EXPECT_TRUE(anyWhite) << name;
    }
    EXPECT_FALSE(BezelIcon::named("no-such-icon"));
}
