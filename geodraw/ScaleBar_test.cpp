#include "ScaleBar.h"

#include <gtest/gtest.h>

using namespace geodraw;

TEST(ScaleBar, LongestRoundLengthThatFits) {
    struct Case { double metresPerPixel, maxPixels, metres, pixels; const wchar_t* label; } cases[] = {
        {1, 120, 100, 100, L"100 m"},
        {4.1258, 120, 200, 48.475, L"200 m"},     // zoom 15 at 30.28 degrees
        {10, 100, 1000, 100, L"1 km"},
        {0.129, 120, 10, 77.519, L"10 m"},
        {100000, 120, 10e6, 100, L"10000 km"},
        {0.001, 120, 0.1, 100, L"10 cm"},
        {38, 120, 2000, 52.632, L"2 km"},
    };
    for (const Case& c : cases) {
        ScaleBar bar = ChooseScaleBar(c.metresPerPixel, c.maxPixels);
        EXPECT_NEAR(bar.metres, c.metres, c.metres * 1e-9) << c.metresPerPixel;
        EXPECT_NEAR(bar.pixels, c.pixels, 0.001) << c.metresPerPixel;
        EXPECT_LE(bar.pixels, c.maxPixels);
        EXPECT_EQ(bar.label, c.label) << c.metresPerPixel;
    }
    EXPECT_EQ(ChooseScaleBar(0, 120).pixels, 0);
}

TEST(ScaleBar, DistanceLabels) {
    struct Case { double metres; const wchar_t* text; } cases[] = {
        {1, L"1 m"}, {5, L"5 m"}, {500, L"500 m"}, {1000, L"1 km"}, {20000, L"20 km"}, {0.5, L"50 cm"},
        {0.2, L"20 cm"},
    };
    for (const Case& c : cases) EXPECT_EQ(DistanceLabel(c.metres), c.text) << c.metres;
}
