#include "MapView.h"

#include <gtest/gtest.h>

using namespace geodraw;

namespace {

MapView ViewAt(double lon, double lat, int zoom, int width = 640, int height = 480) {
    MapView v(width, height);
    v.CenterOn(LonLatToWorld(lon, lat), zoom);
    return v;
}

}  // namespace

TEST(MapView, ZoomLevelsHalveTheScale) {
    EXPECT_NEAR(MetresPerPixelAtZoom(0), 156543.0339, 1e-4);
    EXPECT_NEAR(MetresPerPixelAtZoom(15), 4.7773, 1e-4);
    EXPECT_NEAR(MetresPerPixelAtZoom(20), 0.1493, 1e-4);
}

TEST(MapView, CentreIsTheMiddleOfTheWindowAndScreenRoundTrips) {
    MapView v = ViewAt(120.15, 30.28, 15);
    ScreenPoint c = v.ToScreen(LonLatToWorld(120.15, 30.28));
    EXPECT_NEAR(c.x, 320, 1e-6);
    EXPECT_NEAR(c.y, 240, 1e-6);
    // East is right, north is up, one pixel per MetresPerPixel().
    WorldPoint p = v.Center();
    ScreenPoint s = v.ToScreen(WorldPoint{p.x + 10 * v.MetresPerPixel(), p.y + 20 * v.MetresPerPixel()});
    EXPECT_NEAR(s.x, 330, 1e-6);
    EXPECT_NEAR(s.y, 220, 1e-6);
    for (ScreenPoint q : {ScreenPoint{0, 0}, ScreenPoint{639.5, 12.25}, ScreenPoint{-50, 900}}) {
        ScreenPoint back = v.ToScreen(v.ToWorld(q));
        EXPECT_NEAR(back.x, q.x, 1e-6);
        EXPECT_NEAR(back.y, q.y, 1e-6);
    }
}

TEST(MapView, ShowWorldFitsTheWorldSquare) {
    struct Case { int width, height; double metresPerPixel; } cases[] = {
        {640, 480, 2 * kWorldHalf / 480},
        {300, 700, 2 * kWorldHalf / 300},
        {200, 200, MetresPerPixelAtZoom(0)},   // the coarsest level is the limit
    };
    for (const Case& c : cases) {
        MapView v(c.width, c.height);
        EXPECT_NEAR(v.MetresPerPixel(), c.metresPerPixel, 1e-6) << c.width << "x" << c.height;
        EXPECT_NEAR(v.Center().x, 0, 1e-9);
        EXPECT_NEAR(v.Center().y, 0, 1e-9);
    }
}

TEST(MapView, ZoomKeepsThePointUnderTheAnchor) {
    struct Case { double x, y, factor; } cases[] = {
        {100.5, 80.5, 2}, {600.5, 400.5, 2}, {320, 240, 2}, {10.5, 470.5, 0.5}, {200.5, 300.5, 8},
    };
    for (const Case& c : cases) {
        MapView v = ViewAt(120.15, 30.28, 15);
        WorldPoint under = v.ToWorld(ScreenPoint{c.x, c.y});
        double before = v.MetresPerPixel();
        ASSERT_TRUE(v.ZoomAbout(ScreenPoint{c.x, c.y}, c.factor));
        EXPECT_NEAR(v.MetresPerPixel(), before / c.factor, before * 1e-12);
        ScreenPoint s = v.ToScreen(under);
        EXPECT_NEAR(s.x, c.x, 1e-6) << c.x << "," << c.y << " x" << c.factor;
        EXPECT_NEAR(s.y, c.y, 1e-6) << c.x << "," << c.y << " x" << c.factor;
    }
}

TEST(MapView, ZoomStopsAtTheLevelsRange) {
    MapView finest = ViewAt(0, 0, kMaxZoom);
    EXPECT_FALSE(finest.ZoomAbout(ScreenPoint{10, 10}, 2));
    EXPECT_NEAR(finest.MetresPerPixel(), MetresPerPixelAtZoom(kMaxZoom), 1e-12);
    EXPECT_TRUE(finest.ZoomAbout(ScreenPoint{10, 10}, 0.5));
    MapView coarsest = ViewAt(0, 0, kMinZoom);
    EXPECT_FALSE(coarsest.ZoomAbout(ScreenPoint{10, 10}, 0.5));
    MapView nearly = ViewAt(0, 0, kMaxZoom - 1);
    EXPECT_TRUE(nearly.ZoomAbout(ScreenPoint{10, 10}, 4));   // as far as it goes
    EXPECT_NEAR(nearly.MetresPerPixel(), MetresPerPixelAtZoom(kMaxZoom), 1e-12);
}

TEST(MapView, PanMovesThePictureWithTheMouse) {
    MapView v = ViewAt(120.15, 30.28, 15);
    WorldPoint p = v.ToWorld(ScreenPoint{100, 100});
    v.PanBy(37, -12);
    ScreenPoint s = v.ToScreen(p);
    EXPECT_NEAR(s.x, 137, 1e-6);
    EXPECT_NEAR(s.y, 88, 1e-6);
}

TEST(MapView, CentreStaysInsideTheWorld) {
    MapView v = ViewAt(179.9, 85, 3);
    v.PanBy(-100000, 100000);   // dragged far left and down: the view goes east and north
    EXPECT_NEAR(v.Center().x, kWorldHalf, 1e-6);
    EXPECT_NEAR(v.Center().y, kWorldHalf, 1e-6);
    v.PanBy(1e7, -1e7);
    EXPECT_NEAR(v.Center().x, -kWorldHalf, 1e-6);
    EXPECT_NEAR(v.Center().y, -kWorldHalf, 1e-6);
}

TEST(MapView, KeepInMiddleHalfCentresOnlyWhenThePointLeavesIt) {
    // 640 x 480: the middle half is x 160..480, y 120..360.
    struct Case { double x, y; bool moves; } cases[] = {
        {320, 240, false}, {160.5, 120.5, false}, {479.5, 359.5, false}, {470, 130, false},
        {159.5, 240, true}, {480.5, 240, true}, {320, 119.5, true}, {320, 360.5, true}, {-5000, 7000, true},
    };
    for (const Case& c : cases) {
        MapView v = ViewAt(120.15, 30.28, 15);
        WorldPoint p = v.ToWorld(ScreenPoint{c.x, c.y});
        EXPECT_EQ(v.KeepInMiddleHalf(p), c.moves) << c.x << "," << c.y;
        ScreenPoint s = v.ToScreen(p);
        if (c.moves) {
            EXPECT_NEAR(s.x, 320, 1e-6);
            EXPECT_NEAR(s.y, 240, 1e-6);
        } else {
            EXPECT_NEAR(s.x, c.x, 1e-6);
            EXPECT_NEAR(s.y, c.y, 1e-6);
        }
    }
}
