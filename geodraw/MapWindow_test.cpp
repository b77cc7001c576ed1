// The library in real windows: a drive of 600 fixes handed over as the
// player does, then what the screen shows, read back pixel by pixel, and
// what the mouse does to it.
#include "geodraw.h"

#include "MapPainter.h"
#include "MapSymbols.h"
#include "MapTestDesktop.h"
#include "MapView.h"

#include <commctrl.h>
#include <math.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace geodraw;

namespace {

const int kWidth = 640, kHeight = 480;
const double kLon0 = 120.15, kLat0 = 30.28;
const char kBalloon[] = "<span class ='b'>speed:</span>45 km/h <marquee width=25></marquee>";

struct Fix {
    double lon, lat;
    int direction;
    std::string x, y;   // as the player writes them
};

Fix MakeFix(double eastMetres, double northMetres, int direction) {
    Fix f;
    double lon = kLon0 + eastMetres / (111320.0 * cos(kLat0 * kPi / 180));
    double lat = kLat0 + northMetres / 110574.0;
    char text[64];
    snprintf(text, sizeof text, "%.6lf", lon);
    f.x = text;
    snprintf(text, sizeof text, "%.6lf", lat);
    f.y = text;
    f.lon = atof(f.x.c_str());
    f.lat = atof(f.y.c_str());
    f.direction = direction;
    return f;
}

// Compass sector of a heading in degrees, as the player computes it.
int Sector(double headingDegrees) {
    return int(floor(fmod(headingDegrees + 360 + 22.5, 360) / 45)) % 8;
}

// 600 fixes a second apart: a closed figure (three swings east-west, two
// north-south) through the start, within 380 m east-west and 300 m
// north-south of it, so that the whole of it stays in the middle half of a
// 640 x 480 view at the first position's zoom.
std::vector<Fix> Route() {
    std::vector<Fix> fixes;
    const double w1 = 2 * kPi * 3 / 600, w2 = 2 * kPi * 2 / 600;
    for (int t = 0; t < 600; ++t) {
        double e = 380 * sin(w1 * t), n = 300 * sin(w2 * t);
        double heading = atan2(380 * w1 * cos(w1 * t), 300 * w2 * cos(w2 * t)) * 180 / kPi;
        fixes.push_back(MakeFix(e, n, Sector(heading)));
    }
    return fixes;
}

POINT PixelOf(const MapView& view, double lon, double lat) {
    ScreenPoint s = view.ToScreen(LonLatToWorld(lon, lat));
    return POINT{LONG(floor(s.x)), LONG(floor(s.y))};
}

struct TooltipSearch {
    HWND owner, found;
};

BOOL CALLBACK FindTooltip(HWND w, LPARAM l) {
    TooltipSearch* search = reinterpret_cast<TooltipSearch*>(l);
    wchar_t cls[64];
    GetClassNameW(w, cls, 64);
    if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && GetWindow(w, GW_OWNER) == search->owner) search->found = w;
    return TRUE;
}

bool Inside(const RECT& r, POINT p) {
    return PtInRect(&r, p) != FALSE;
}

class MapWindowTest : public testing::Test {
protected:
    maptest::Host host{40, 40, kWidth, kHeight};
    GEODRAW_HANDLE map = 0, track = 0;
    struct { int kind; void* id; int reserved; } record = {1, &record, 0};
    INT_PTR vehicle = reinterpret_cast<INT_PTR>(&record);
    HWND window = nullptr;
    std::vector<Fix> route = Route();

    void SetUp() override {
        ASSERT_EQ(_MAP_Initialize(), 0);
        ASSERT_EQ(_MAP_InitMap(0, host.canvas, 0, "", "", 0, "default", &map), 0);
        window = host.Map();
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(_MAP_InsertVehicle(map, vehicle), 0);
        ASSERT_EQ(_MAP_SetVehicleName(map, vehicle, "aa"), 0);
        ASSERT_EQ(_MAP_SetVehiIcon(map, vehicle, 1), 0);
        ASSERT_EQ(_MAP_TKInsertTrack(map, &track), 0);
        ASSERT_EQ(_MAP_TKInsertMarker(track, 1, 1), 0);
    }

    // One fix, handed over with the calls and in the order the player uses.
    void Drive(const Fix& f, bool first, const char* speed = "45KMH") {
        EXPECT_EQ(_MAP_SetVehicleName(map, vehicle, ""), 0);
        EXPECT_EQ(_MAP_SelectVehicle(map, vehicle), 0);
        EXPECT_EQ(_MAP_UpdateVehicle(map, vehicle, f.x.c_str(), f.y.c_str(), f.direction, 0, speed, "", kBalloon),
                  0);
        if (first) {
            EXPECT_EQ(_MAP_TKUpdateMarker(track, 1, "", f.x.c_str(), f.y.c_str(), f.direction, 5, "", kBalloon, 1,
                                          speed, ""),
                      0);
        }
        EXPECT_EQ(_MAP_TKPushPoint(track, f.x.c_str(), f.y.c_str()), 0);
        EXPECT_EQ(_MAP_TKDrawPoint(track), 0);
    }
    void DriveRoute() {
        for (size_t i = 0; i < route.size(); ++i) {
            Drive(route[i], i == 0);
            if (i % 50 == 0) maptest::Pump(0);
        }
    }

    // The view the map must show after the route: the first position,
    // centred, at the first position's zoom.
    MapView FirstView() const {
        MapView v(kWidth, kHeight);
        v.CenterOn(LonLatToWorld(route[0].lon, route[0].lat), kFirstPositionZoom);
        return v;
    }

    // The fixes' pixels that no symbol covers (the vehicle at `at` with its
    // speed box, the start flag at the first fix), inside the window; how
    // many there are and how many of them show `colour`.
    void TrackPixels(const maptest::Shot& shot, const MapView& view, const Fix& at, COLORREF colour, int* looked,
                     int* matched) const {
        POINT v = PixelOf(view, at.lon, at.lat);
        RECT vehicleArea = {v.x - kVehicleHaloRadius - 2, v.y - kVehicleHaloRadius - 2, v.x + 100,
                            v.y + kVehicleHaloRadius + 2};
        POINT start = PixelOf(view, route[0].lon, route[0].lat);
        RECT flag = FlagBounds(start.x, start.y);
        InflateRect(&flag, 2, 2);
        *looked = *matched = 0;
        for (const Fix& f : route) {
            POINT p = PixelOf(view, f.lon, f.lat);
            if (p.x < 0 || p.y < 0 || p.x >= kWidth || p.y >= kHeight) continue;
            if (Inside(vehicleArea, p) || Inside(flag, p)) continue;
            ++*looked;
            *matched += shot.Pixel(p.x, p.y) == colour;
        }
    }

    // The centre of the selected vehicle's halo ring on screen.
    bool VehicleCentre(double* x, double* y) const {
        return maptest::Grab(window).Centroid(palette::kSelectedHalo, x, y);
    }
};

}  // namespace

TEST_F(MapWindowTest, RouteShowsTrackArrowFlagNorthArrowAndScaleBar) {
    DriveRoute();
    MapView view = FirstView();
    maptest::Shot shot = maptest::Grab(window);
    maptest::SaveShot(shot, "route");

    // The track: every fix's pixel is drawn in the default red.
    int looked, matched;
    TrackPixels(shot, view, route.back(), palette::kDefaultTrack, &looked, &matched);
    EXPECT_GT(looked, 500);
    EXPECT_EQ(matched, looked);

    // The vehicle at the last fix, ringed (it is selected).
    POINT v = PixelOf(view, route.back().lon, route.back().lat);
    double cx, cy;
    ASSERT_TRUE(shot.Centroid(palette::kSelectedHalo, &cx, &cy));
    EXPECT_NEAR(cx, v.x, 0.6);
    EXPECT_NEAR(cy, v.y, 0.6);

    // The start flag at the first fix.
    POINT s = PixelOf(view, route[0].lon, route[0].lat);
    int flag = 0;
    for (int y = s.y - kFlagPoleHeight; y < s.y; ++y)
        for (int x = s.x; x < s.x + kFlagLength; ++x) flag += shot.Pixel(x, y) == palette::kFlag;
    EXPECT_GT(flag, 30);

    // The north arrow: its west half dark, its east half light, "N" above.
    OverlayLayout l = LayoutOverlays(kWidth, kHeight);
    int mid = l.northTip.x, low = l.northTail.y - 8;
    EXPECT_EQ(shot.Pixel(mid - 3, low), palette::kSymbol);
    EXPECT_EQ(shot.Pixel(mid + 3, low), palette::kHalo);
    EXPECT_EQ(shot.Pixel(mid, l.northTip.y + 4), palette::kSymbol);   // the axis, below the tip
    int letter = 0;
    for (int y = l.northArrow.top; y < l.northTip.y - 1; ++y)
        for (int x = l.northArrow.left; x < l.northArrow.right; ++x) letter += shot.Pixel(x, y) == palette::kSymbol;
    EXPECT_GT(letter, 10);

    // The scale bar: 200 m at 4.78 / 1.157 m a pixel on this latitude: 48 px.
    double groundMetresPerPixel = MetresPerPixelAtZoom(15) * cos(kLat0 * kPi / 180);
    double want = 200 / groundMetresPerPixel;
    int x = l.scaleOrigin.x;
    while (shot.Pixel(x, l.scaleOrigin.y) == palette::kSymbol) ++x;
    EXPECT_NEAR(x - l.scaleOrigin.x, want, 1.0);
    EXPECT_EQ(shot.Pixel(l.scaleOrigin.x - 1, l.scaleOrigin.y) == palette::kSymbol, false);
}

TEST_F(MapWindowTest, ArrowPointsByDirection) {
    DriveRoute();
    MapView view = FirstView();
    const Fix& last = route.back();
    POINT v = PixelOf(view, last.lon, last.lat);
    struct Case { int direction; POINT ahead, behind; } cases[] = {
        {0, {0, -8}, {0, 8}},    // north: up
        {2, {8, 0}, {-8, 0}},    // east: right
        {4, {0, 8}, {0, -8}},
        {6, {-8, 0}, {8, 0}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(_MAP_UpdateVehicle(map, vehicle, last.x.c_str(), last.y.c_str(), c.direction, 0, "", "", ""), 0);
        maptest::Shot shot = maptest::Grab(window);
        std::array<POINT, 4> arrow = VehicleArrow(v.x, v.y, c.direction);
        EXPECT_EQ(shot.Pixel(arrow[0].x, arrow[0].y), palette::kVehicle) << c.direction;   // the tip itself
        EXPECT_EQ(shot.Pixel(v.x + c.ahead.x, v.y + c.ahead.y), palette::kVehicle) << c.direction;
        EXPECT_EQ(shot.Pixel(v.x + c.behind.x, v.y + c.behind.y), palette::kVehicleDisc) << c.direction;
    }
}

TEST_F(MapWindowTest, NewPointRepaintsOnlyItsSegment) {
    DriveRoute();
    maptest::PaintNow(window);
    Fix next = MakeFix(150, 100, 1);   // some 40 px from the route's end, clear of the symbols
    ASSERT_EQ(_MAP_TKPushPoint(track, next.x.c_str(), next.y.c_str()), 0);
    RECT before;
    EXPECT_FALSE(GetUpdateRect(window, &before, FALSE));   // a push alone draws nothing
    ASSERT_EQ(_MAP_TKDrawPoint(track), 0);
    RECT dirty;
    ASSERT_TRUE(GetUpdateRect(window, &dirty, FALSE));
    MapView view = FirstView();
    POINT a = PixelOf(view, route.back().lon, route.back().lat), b = PixelOf(view, next.lon, next.lat);
    RECT segment = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
    InflateRect(&segment, kTrackWidth, kTrackWidth);
    EXPECT_EQ(dirty.left, segment.left);
    EXPECT_EQ(dirty.top, segment.top);
    EXPECT_EQ(dirty.right, segment.right);
    EXPECT_EQ(dirty.bottom, segment.bottom);
    maptest::Shot shot = maptest::Grab(window);
    EXPECT_EQ(shot.Pixel(b.x, b.y), palette::kDefaultTrack);
}

TEST_F(MapWindowTest, TrackColourMarkerAndDeletion) {
    DriveRoute();
    MapView view = FirstView();
    ASSERT_EQ(_MAP_TKSetColor(track, RGB(0, 0, 255)), 0);
    int looked, matched;
    TrackPixels(maptest::Grab(window), view, route.back(), RGB(0, 0, 255), &looked, &matched);
    EXPECT_EQ(matched, looked);
    EXPECT_EQ(_MAP_TKSetColor(track, 0x01000000 | RGB(0, 0, 255)), 1);   // not a colour

    EXPECT_GT(maptest::Grab(window).Count(palette::kFlag), 30);
    ASSERT_EQ(_MAP_TKDeleteMarker(track, 1), 0);
    EXPECT_EQ(maptest::Grab(window).Count(palette::kFlag), 0);
    EXPECT_EQ(_MAP_TKDeleteMarker(track, 1), 1);

    // A new marker is hidden until placed.
    ASSERT_EQ(_MAP_TKInsertMarker(track, 7, 1), 0);
    EXPECT_EQ(maptest::Grab(window).Count(palette::kFlag), 0);
    ASSERT_EQ(_MAP_TKUpdateMarker(track, 7, "", route[100].x.c_str(), route[100].y.c_str(), 0, 5, "", "", 1, "", ""),
              0);
    EXPECT_GT(maptest::Grab(window).Count(palette::kFlag), 30);

    ASSERT_EQ(_MAP_TKDeleteTrack(track), 0);
    maptest::Shot shot = maptest::Grab(window);
    EXPECT_EQ(shot.Count(RGB(0, 0, 255)), 0);
    EXPECT_EQ(shot.Count(palette::kFlag), 0);
    EXPECT_GT(shot.Count(palette::kSelectedHalo), 0);   // the vehicle stays
}

TEST_F(MapWindowTest, WheelZoomsAboutTheCursor) {
    DriveRoute();
    MapView view = FirstView();
    SetForegroundWindow(host.frame);
    double vx, vy;
    ASSERT_TRUE(VehicleCentre(&vx, &vy));
    // The cursor off the vehicle and off the centre; a click there gives the
    // map the focus (and moves nothing).
    POINT cursor = {LONG(vx) - 40, LONG(vy) + 30};
    WorldPoint under = view.ToWorld(ScreenPoint{cursor.x + 0.5, cursor.y + 0.5});
    maptest::MouseMove(window, cursor);
    maptest::LeftDown();
    maptest::LeftUp();
    EXPECT_EQ(GetFocus(), window);
    double cx, cy;
    ASSERT_TRUE(VehicleCentre(&cx, &cy));
    EXPECT_EQ(cx, vx);
    EXPECT_EQ(cy, vy);
    maptest::MouseWheel(WHEEL_DELTA);
    maptest::Pump(50);
    maptest::SaveShot(maptest::Grab(window), "zoomed");

    ASSERT_TRUE(view.ZoomAbout(ScreenPoint{cursor.x + 0.5, cursor.y + 0.5}, 2));
    // The point under the cursor stayed there...
    ScreenPoint stayed = view.ToScreen(under);
    EXPECT_NEAR(stayed.x, cursor.x + 0.5, 1e-6);
    // ...and the map agrees with that view: the vehicle (2 x farther from
    // the cursor than before) and the track's pixels, at twice the scale.
    POINT v = PixelOf(view, route.back().lon, route.back().lat);
    double x, y;
    ASSERT_TRUE(VehicleCentre(&x, &y));
    EXPECT_NEAR(x, v.x, 1.0);
    EXPECT_NEAR(y, v.y, 1.0);
    EXPECT_NEAR(x - cursor.x, 2 * (vx - cursor.x), 1.5);
    EXPECT_NEAR(y - cursor.y, 2 * (vy - cursor.y), 1.5);
    int looked, matched;
    TrackPixels(maptest::Grab(window), view, route.back(), palette::kDefaultTrack, &looked, &matched);
    EXPECT_GT(looked, 200);
    EXPECT_EQ(matched, looked);
    // The scale bar shows the new scale: half the metres a pixel.
    OverlayLayout l = LayoutOverlays(kWidth, kHeight);
    maptest::Shot shot = maptest::Grab(window);
    int end = l.scaleOrigin.x;
    while (shot.Pixel(end, l.scaleOrigin.y) == palette::kSymbol) ++end;
    double groundMetresPerPixel = MetresPerPixelAtZoom(16) * cos(kLat0 * kPi / 180);
    EXPECT_NEAR(end - l.scaleOrigin.x, 200 / groundMetresPerPixel, 1.0);   // 200 m, now in 97 px
}

TEST_F(MapWindowTest, DragPansStopsFollowingDoubleClickResumes) {
    DriveRoute();
    MapView view = FirstView();
    SetForegroundWindow(host.frame);
    double vx, vy;
    ASSERT_TRUE(VehicleCentre(&vx, &vy));
    POINT from = {200, 300}, by = {60, -40};
    maptest::MouseMove(window, from);
    maptest::LeftDown();
    for (int k = 1; k <= 4; ++k) maptest::MouseMove(window, POINT{from.x + by.x * k / 4, from.y + by.y * k / 4});
    maptest::LeftUp();
    maptest::Pump(50);
    maptest::SaveShot(maptest::Grab(window), "dragged");
    double x, y;
    ASSERT_TRUE(VehicleCentre(&x, &y));
    EXPECT_NEAR(x - vx, by.x, 0.01);
    EXPECT_NEAR(y - vy, by.y, 0.01);
    view.PanBy(by.x, by.y);
    int looked, matched;
    TrackPixels(maptest::Grab(window), view, route.back(), palette::kDefaultTrack, &looked, &matched);
    EXPECT_EQ(matched, looked);

    // Not followed now: a fix outside the middle half (but in the window)
    // leaves the view as it is.
    Fix away = MakeFix(760, 0, 2);
    Drive(away, false);
    POINT p = PixelOf(view, away.lon, away.lat);
    ASSERT_TRUE(VehicleCentre(&x, &y));
    EXPECT_NEAR(x, p.x, 0.6);
    EXPECT_GT(x, kWidth * 3 / 4);

    // A double-click follows again: the vehicle comes to the middle.
    maptest::MouseMove(window, POINT{100, 100});
    maptest::LeftDown();
    maptest::LeftUp();
    maptest::LeftDown();
    maptest::LeftUp();
    maptest::Pump(50);
    ASSERT_TRUE(VehicleCentre(&x, &y));
    EXPECT_NEAR(x, kWidth / 2, 1.0);
    EXPECT_NEAR(y, kHeight / 2, 1.0);
}

TEST_F(MapWindowTest, FollowKeepsTheVehicleInTheMiddleHalf) {
    // Eastwards 3.6 km at 10 m a fix: out of a 640 px view several times.
    Fix first = MakeFix(0, 0, 2);
    Drive(first, true);
    for (int i = 1; i <= 360; ++i) {
        Drive(MakeFix(i * 10.0, i * 2.0, 2), false);
        if (i % 30 == 0) {
            double x, y;
            ASSERT_TRUE(VehicleCentre(&x, &y)) << i;
            EXPECT_GE(x, kWidth / 4.0 - 1) << i;
            EXPECT_LE(x, kWidth * 3 / 4.0 + 1) << i;
            EXPECT_GE(y, kHeight / 4.0 - 1) << i;
            EXPECT_LE(y, kHeight * 3 / 4.0 + 1) << i;
        }
    }
    maptest::SaveShot(maptest::Grab(window), "followed");
}

TEST_F(MapWindowTest, BalloonBecomesAPlainTooltip) {
    Drive(route[0], true);
    // The map's tooltip window: owned by the frame, of this thread.
    TooltipSearch find = {host.frame, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&find));
    ASSERT_NE(find.found, nullptr);
    std::vector<std::wstring> texts;
    int n = int(SendMessageW(find.found, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[256] = {};
        TTTOOLINFOW ti = {};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.lpszText = text;
        ASSERT_TRUE(SendMessageW(find.found, TTM_ENUMTOOLSW, WPARAM(i), reinterpret_cast<LPARAM>(&ti)));
        texts.push_back(text);
    }
    // The vehicle's and the start flag's.
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], L"speed:45 km/h");
    EXPECT_EQ(texts[1], L"speed:45 km/h");
}

TEST_F(MapWindowTest, SecondInsertOfAVehicleChangesNothing) {
    Drive(route[0], true);
    double x, y;
    ASSERT_TRUE(VehicleCentre(&x, &y));
    EXPECT_EQ(_MAP_InsertVehicle(map, vehicle), 0);
    double x2, y2;
    ASSERT_TRUE(VehicleCentre(&x2, &y2));   // still placed, still selected
    EXPECT_EQ(x2, x);
    EXPECT_EQ(y2, y);
    EXPECT_EQ(maptest::Grab(window).Count(palette::kVehicle) > 0, true);
}
