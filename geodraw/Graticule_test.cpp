#include "Graticule.h"

#include <math.h>

#include <gtest/gtest.h>

using namespace geodraw;

TEST(Graticule, StepKeepsMeridiansApart) {
    struct Case { int zoom; double step; } cases[] = {
        {15, 0.005},   // 4.78 m a pixel: 0.0039 degrees for 90 px
        {14, 0.01},
        {18, 0.0005},
        {10, 0.2},
        {20, 0.0002},
        {4, 10},
        {3, 20},
        {0, 50},       // the largest step
    };
    for (const Case& c : cases) {
        double mpp = MetresPerPixelAtZoom(c.zoom);
        double step = GridStep(mpp);
        EXPECT_NEAR(step, c.step, c.step * 1e-9) << "zoom " << c.zoom;
        if (step < kMaxGridStep) {
            double pixels = step * kEarthRadius * kPi / 180 / mpp;
            EXPECT_GE(pixels, kMinGridSpacing - 1e-6) << "zoom " << c.zoom;
            EXPECT_LT(pixels, kMinGridSpacing * 2.5) << "zoom " << c.zoom;
        }
    }
}

TEST(Graticule, ValuesAreTheMultiplesInTheRange) {
    struct Case { double from, to, step; std::vector<double> values; } cases[] = {
        {-0.012, 0.011, 0.005, {-0.01, -0.005, 0, 0.005, 0.01}},
        {0, 10, 5, {0, 5, 10}},
        {120.1, 120.3, 0.1, {120.1, 120.2, 120.3}},
        {120.151, 120.159, 0.01, {}},
        {5, 1, 1, {}},
        {0, 1, 0, {}},
    };
    for (const Case& c : cases) {
        std::vector<double> got = GridValues(c.from, c.to, c.step);
        ASSERT_EQ(got.size(), c.values.size()) << c.from << ".." << c.to;
        for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.values[i], 1e-9);
    }
}

TEST(Graticule, LinesOfAViewCrossIt) {
    MapView v(640, 480);
    v.CenterOn(LonLatToWorld(120.15, 30.28), 15);
    Graticule g = GraticuleFor(v);
    EXPECT_NEAR(g.step, 0.005, 1e-12);
    EXPECT_EQ(g.decimals, 3);
    ASSERT_GE(g.longitudes.size(), 5u);
    ASSERT_LE(g.longitudes.size(), 6u);
    for (double lon : g.longitudes) {
        double x = v.ToScreen(LonLatToWorld(lon, 30.28)).x;
        EXPECT_GE(x, 0);
        EXPECT_LE(x, 640);
        EXPECT_NEAR(lon / 0.005, floor(lon / 0.005 + 0.5), 1e-6);
    }
    ASSERT_GE(g.latitudes.size(), 3u);
    for (double lat : g.latitudes) {
        double y = v.ToScreen(LonLatToWorld(120.15, lat)).y;
        EXPECT_GE(y, 0);
        EXPECT_LE(y, 480);
    }
    // The whole world: lines only inside it.
    MapView world(640, 480);
    Graticule all = GraticuleFor(world);
    EXPECT_EQ(all.longitudes.front(), -150);
    EXPECT_EQ(all.longitudes.back(), 150);
    EXPECT_EQ(all.latitudes.front(), -50);
    EXPECT_EQ(all.latitudes.back(), 50);
}

TEST(Graticule, EdgeLabels) {
    struct Case { bool longitude; double value; int decimals; const wchar_t* text; } cases[] = {
        {true, 120.15, 2, L"120.15\u00B0E"},
        {true, 120.149999999, 2, L"120.15\u00B0E"},
        {true, -75, 0, L"75\u00B0W"},
        {true, 0, 1, L"0\u00B0"},
        {true, -1e-12, 3, L"0\u00B0"},
        {true, 180, 0, L"180\u00B0"},
        {true, -180, 0, L"180\u00B0"},
        {true, 0.0001, 4, L"0.0001\u00B0E"},
        {true, -0.005, 3, L"0.005\u00B0W"},
        {false, 30.5, 1, L"30.5\u00B0N"},
        {false, -12, 0, L"12\u00B0S"},
        {false, 0, 0, L"0\u00B0"},
        {false, 30.28, 2, L"30.28\u00B0N"},
    };
    for (const Case& c : cases) {
        std::wstring text = c.longitude ? LongitudeLabel(c.value, c.decimals) : LatitudeLabel(c.value, c.decimals);
        EXPECT_EQ(text, c.text) << c.value;
    }
}
