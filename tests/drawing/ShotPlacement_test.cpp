// Where the screenshot's tool bar goes for selections across the screen.
#include <gtest/gtest.h>

#include "drawing/windows/ShotPlacement.h"

namespace {

POINT At(RECT outer)
{
    return PlaceShotToolBar(outer, 1280, 770);
}

TEST(ShotPlacement, BarLiesBelowTheBoxAndStaysWholeOnTheScreen)
{
    POINT p = At({500, 100, 900, 300});
    EXPECT_EQ(495, p.x);
    EXPECT_EQ(300, p.y);
    // A box ending left of the bar's width: the bar starts at the edge.
    p = At({10, 100, 302, 202});
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(202, p.y);
    // A box ending within the bar's height of the usable bottom: the bar
    // goes 40 pixels above it, over the box.
    p = At({100, 400, 900, 736});
    EXPECT_EQ(730, p.y);
    p = At({100, 400, 900, 735});
    EXPECT_EQ(735, p.y);
    // Whatever the box, the bar's right end stays on the screen.
    p = At({1200, 100, 1280 + 500, 200});
    EXPECT_EQ(1280 - kShotToolBarWidth, p.x);
}

}  // namespace
