#include "MapSymbols.h"

#include <gtest/gtest.h>

using namespace geodraw;

TEST(MapSymbols, ArrowTipPointsClockwiseFromNorth) {
    struct Case { int direction; long x, y; } cases[] = {
        {0, 100, 90},  {1, 107, 93},  {2, 110, 100}, {3, 107, 107}, {4, 100, 110},
        {5, 93, 107},  {6, 90, 100},  {7, 93, 93},   {8, 100, 90},  {-1, 93, 93},  {10, 110, 100},
    };
    for (const Case& c : cases) {
        std::array<POINT, 4> a = VehicleArrow(100, 100, c.direction);
        EXPECT_EQ(a[0].x, c.x) << c.direction;
        EXPECT_EQ(a[0].y, c.y) << c.direction;
        // The notch sits behind the centre, opposite the tip.
        EXPECT_EQ((a[2].x - 100) * (a[0].x - 100) + (a[2].y - 100) * (a[0].y - 100) < 0, true) << c.direction;
    }
}

TEST(MapSymbols, OverlaysInTheirCornersApart) {
    for (SIZE s : {SIZE{640, 480}, SIZE{260, 180}}) {
        OverlayLayout l = LayoutOverlays(s.cx, s.cy);
        EXPECT_GT(l.northArrow.left, s.cx / 2);
        EXPECT_LT(l.northArrow.right, s.cx);
        EXPECT_GT(l.northArrow.top, 0);
        EXPECT_LT(l.northTip.y, l.northTail.y);
        EXPECT_LT(l.scaleOrigin.x, s.cx / 4);
        EXPECT_GT(l.scaleOrigin.y, s.cy * 3 / 4);
        EXPECT_LT(l.scaleOrigin.y, s.cy);
        EXPECT_LT(l.scaleOrigin.x + l.scaleMaxPixels, l.northArrow.left);
    }
}
