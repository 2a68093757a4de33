#include "ui/BezelIcon.h"

#include <gtest/gtest.h>

using namespace lumeris;

TEST(BezelIcon, EveryShippedIconLoadsAsAWhiteGlyph) {
    for (const char* name :
         {BezelIcon::CHECK, BezelIcon::COMPRESS, BezelIcon::NO_IMAGE, BezelIcon::PROCESSING}) {
        auto icon = BezelIcon::named(name);
        ASSERT_TRUE(icon) << name;
        EXPECT_EQ(icon->width, 96) << name;
        EXPECT_EQ(icon->height, 96) << name;
        bool anyWhite = false;
        for (int y = 0; y < icon->height && !anyWhite; ++y) {
            for (int x = 0; x < icon->width && !anyWhite; ++x) {
                const auto* p = icon->at(x, y);
                anyWhite = p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 255;
            }
        }
        EXPECT_TRUE(anyWhite) << name;
    }
    EXPECT_FALSE(BezelIcon::named("no-such-icon"));
}
