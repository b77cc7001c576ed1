#include "Mercator.h"

#include <gtest/gtest.h>

using namespace geodraw;

TEST(Mercator, KnownPlanePoints) {
    struct Case { double lon, lat, x, y; } cases[] = {
        {0, 0, 0, 0},
        {180, 0, 20037508.342789, 0},
        {-180, 0, -20037508.342789, 0},
        {0, 45, 0, 5621521.486192},
        {0, -45, 0, -5621521.486192},
        {120.15, 30.28, 13375036.819, 3539592.246},
        {0, kMaxLatitude, 0, 20037508.342789},   // the square's top edge
        {0, 89.9, 0, 20037508.342789},           // clamped to it
        {0, -90, 0, -20037508.342789},
    };
    for (const Case& c : cases) {
        WorldPoint p = LonLatToWorld(c.lon, c.lat);
        EXPECT_NEAR(p.x, c.x, 0.01) << c.lon << "," << c.lat;
        EXPECT_NEAR(p.y, c.y, 0.01) << c.lon << "," << c.lat;
    }
}

TEST(Mercator, RoundTripKeepsThePosition) {
    const double positions[][2] = {
        {0, 0}, {120.153210, 30.280001}, {-73.985130, 40.758896}, {151.209296, -33.868820},
        {-179.999999, -85.05}, {179.999999, 85.05}, {0.000001, -0.000001}, {-0.1278, 51.5074},
    };
    for (const auto& pos : positions) {
        double lon, lat;
        WorldToLonLat(LonLatToWorld(pos[0], pos[1]), &lon, &lat);
        EXPECT_NEAR(lon, pos[0], 1e-9) << pos[0] << "," << pos[1];
        EXPECT_NEAR(lat, pos[1], 1e-9) << pos[0] << "," << pos[1];
    }
}

TEST(Mercator, PlaneStretchIsTheSecantOfTheLatitude) {
    EXPECT_DOUBLE_EQ(PlaneStretch(0), 1.0);
    EXPECT_NEAR(PlaneStretch(60), 2.0, 1e-12);
    EXPECT_NEAR(PlaneStretch(-60), 2.0, 1e-12);
    // A metre on the ground is as many plane metres as the projection's
    // local y scale says.
    const double lat = 30.28, dLat = 1e-6;
    double dy = LonLatToWorld(0, lat + dLat).y - LonLatToWorld(0, lat).y;
    double groundMetres = kEarthRadius * dLat * kPi / 180;
    EXPECT_NEAR(dy / groundMetres, PlaneStretch(lat), 1e-6);
}
