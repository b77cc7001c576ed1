// The library's contract as callers see it: the exported names, start-up,
// making a map in a host, and every handle-taking call refusing dead
// handles without touching anything.
#include "geodraw.h"

#include "MapTestDesktop.h"

#include <gtest/gtest.h>

namespace {

const char* const kExports[] = {
    "_MAP_Initialize",   "_MAP_InitLangague",  "_MAP_LoadSkin",       "_MAP_InitMap",
    "_MAP_IsLoadComplete", "_MAP_InsertVehicle", "_MAP_SetVehicleName", "_MAP_SetVehiIcon",
    "_MAP_SelectVehicle", "_MAP_UpdateVehicle", "_MAP_ConvertGps",     "_MAP_TKInsertTrack",
    "_MAP_TKInsertMarker", "_MAP_TKUpdateMarker", "_MAP_TKPushPoint",   "_MAP_TKDrawPoint",
    "_MAP_TKDeleteMarker", "_MAP_TKDeleteTrack", "_MAP_TKSetColor",
};

}  // namespace

TEST(GeoDraw, StartCallsPrepareTheLibrary) {
    // The names are exported undecorated, as the player imports them.
    HMODULE lib = GetModuleHandleW(L"geodraw.dll");
    ASSERT_NE(lib, nullptr);
    for (const char* name : kExports) EXPECT_NE(GetProcAddress(lib, name), nullptr) << name;

    EXPECT_EQ(_MAP_Initialize(), 0);
    EXPECT_EQ(_MAP_Initialize(), 0);  // a second start is harmless
    EXPECT_EQ(_MAP_InitLangague("chinese"), 0);
    EXPECT_EQ(_MAP_InitLangague("english"), 0);
    EXPECT_EQ(_MAP_InitLangague(nullptr), 1);
    EXPECT_EQ(_MAP_LoadSkin(0), 0);
    WNDCLASSW wc;
    EXPECT_TRUE(GetClassInfoW(lib, L"GeoDrawMap", &wc));
}

TEST(GeoDraw, ConvertGpsIsTheIdentity) {
    for (int mode : {1, 2}) {
        double x = 0, y = 0;
        EXPECT_EQ(_MAP_ConvertGps(0, 120.153210, 30.280001, mode, &x, &y), 0);
        EXPECT_EQ(x, 120.153210);
        EXPECT_EQ(y, 30.280001);
    }
    double x = 0;
    EXPECT_EQ(_MAP_ConvertGps(0, -1.5, 2.5, 1, &x, nullptr), 1);
    EXPECT_EQ(x, -1.5);   // still written
}

TEST(GeoDraw, MapFillsItsHostAndFollowsItsSize) {
    maptest::Host host(60, 60, 300, 200);
    GEODRAW_HANDLE map = 0;
    EXPECT_EQ(_MAP_InitMap(0, host.canvas, 0, "", "", 0, "default", nullptr), 1);
    EXPECT_EQ(_MAP_InitMap(0, nullptr, 0, "", "", 0, "default", &map), 1);
    EXPECT_EQ(map, 0);
    ASSERT_EQ(_MAP_InitMap(3, host.canvas, 0, "", "", 0, "default", &map), 0);
    EXPECT_NE(map, 0);
    EXPECT_EQ(_MAP_IsLoadComplete(map), 0);
    HWND window = host.Map();
    ASSERT_NE(window, nullptr);
    RECT r;
    GetClientRect(window, &r);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);
    MoveWindow(host.canvas, 0, 0, 420, 260, TRUE);
    GetClientRect(window, &r);
    EXPECT_EQ(r.right, 420);
    EXPECT_EQ(r.bottom, 260);
    // Before any position: the whole world, with its grid, north arrow and
    // scale bar; the map paints every pixel of its window.
    maptest::Shot shot = maptest::Grab(window);
    maptest::SaveShot(shot, "world");
    EXPECT_GT(shot.Count(RGB(242, 239, 233)), 420 * 260 / 3);   // paper
    EXPECT_EQ(_MAP_IsLoadComplete(map), 0);

    // A second map in another host gets a handle of its own.
    maptest::Host other(400, 60, 200, 150);
    GEODRAW_HANDLE second = 0;
    ASSERT_EQ(_MAP_InitMap(0, other.canvas, 0, "", "", 0, "default", &second), 0);
    EXPECT_NE(second, map);

    // A destroyed host: no new map, and its map is gone with it.
    HWND dead = other.frame;
    DestroyWindow(dead);
    GEODRAW_HANDLE none = 0;
    EXPECT_EQ(_MAP_InitMap(0, other.canvas, 0, "", "", 0, "default", &none), 1);
    EXPECT_EQ(none, 0);
    EXPECT_EQ(_MAP_IsLoadComplete(second), 1);
    EXPECT_EQ(_MAP_IsLoadComplete(map), 0);
}

TEST(GeoDraw, DeadHandlesGiveOneAndTouchNothing) {
    maptest::Host host(60, 60, 320, 240);
    GEODRAW_HANDLE map = 0, track = 0, deletedTrack = 0, goneMap = 0, goneTrack = 0;
    INT_PTR vehicle = 0x1234;
    ASSERT_EQ(_MAP_InitMap(0, host.canvas, 0, "", "", 0, "default", &map), 0);
    ASSERT_EQ(_MAP_InsertVehicle(map, vehicle), 0);
    ASSERT_EQ(_MAP_SelectVehicle(map, vehicle), 0);
    ASSERT_EQ(_MAP_UpdateVehicle(map, vehicle, "120.150000", "30.280000", 2, 0, "45KMH", "", "x"), 0);
    ASSERT_EQ(_MAP_TKInsertTrack(map, &track), 0);
    ASSERT_EQ(_MAP_TKInsertMarker(track, 1, 1), 0);
    ASSERT_EQ(_MAP_TKPushPoint(track, "120.150000", "30.280000"), 0);
    ASSERT_EQ(_MAP_TKPushPoint(track, "120.151000", "30.280500"), 0);
    ASSERT_EQ(_MAP_TKDrawPoint(track), 0);
    ASSERT_EQ(_MAP_TKInsertTrack(map, &deletedTrack), 0);
    ASSERT_EQ(_MAP_TKDeleteTrack(deletedTrack), 0);
    {
        maptest::Host gone(400, 60, 100, 100);
        ASSERT_EQ(_MAP_InitMap(0, gone.canvas, 0, "", "", 0, "default", &goneMap), 0);
        ASSERT_EQ(_MAP_TKInsertTrack(goneMap, &goneTrack), 0);
    }
    HWND window = host.Map();
    maptest::Shot before = maptest::Grab(window);

    // 0, never issued, a deleted track, a destroyed map and its track, and
    // handles of the wrong kind (a track as a map, a map as a track).
    const GEODRAW_HANDLE deadMaps[] = {0, 0x7FFF0000, deletedTrack, goneMap, goneTrack, track};
    const GEODRAW_HANDLE deadTracks[] = {0, 0x7FFF0000, deletedTrack, goneMap, goneTrack, map};
    for (GEODRAW_HANDLE m : deadMaps) {
        GEODRAW_HANDLE out = 55;
        EXPECT_EQ(_MAP_IsLoadComplete(m), 1) << m;
        EXPECT_EQ(_MAP_InsertVehicle(m, 0x999), 1) << m;
        EXPECT_EQ(_MAP_SetVehicleName(m, vehicle, "bb"), 1) << m;
        EXPECT_EQ(_MAP_SetVehiIcon(m, vehicle, 1), 1) << m;
        EXPECT_EQ(_MAP_SelectVehicle(m, vehicle), 1) << m;
        EXPECT_EQ(_MAP_UpdateVehicle(m, vehicle, "121.0", "31.0", 4, 0, "9KMH", "", "y"), 1) << m;
        EXPECT_EQ(_MAP_TKInsertTrack(m, &out), 1) << m;
        EXPECT_EQ(out, 55) << m;
    }
    for (GEODRAW_HANDLE t : deadTracks) {
        EXPECT_EQ(_MAP_TKInsertMarker(t, 2, 1), 1) << t;
        EXPECT_EQ(_MAP_TKUpdateMarker(t, 1, "", "121.0", "31.0", 0, 5, "", "", 1, "", ""), 1) << t;
        EXPECT_EQ(_MAP_TKPushPoint(t, "121.0", "31.0"), 1) << t;
        EXPECT_EQ(_MAP_TKDrawPoint(t), 1) << t;
        EXPECT_EQ(_MAP_TKDeleteMarker(t, 1), 1) << t;
        EXPECT_EQ(_MAP_TKSetColor(t, RGB(0, 0, 255)), 1) << t;
        EXPECT_EQ(_MAP_TKDeleteTrack(t), 1) << t;
    }
    // Unknown vehicles and markers on live handles, and bad values.
    EXPECT_EQ(_MAP_SetVehicleName(map, 0x999, "bb"), 1);
    EXPECT_EQ(_MAP_SelectVehicle(map, 0x999), 1);
    EXPECT_EQ(_MAP_UpdateVehicle(map, 0x999, "121.0", "31.0", 4, 0, "", "", ""), 1);
    EXPECT_EQ(_MAP_InsertVehicle(map, 0), 1);
    EXPECT_EQ(_MAP_SetVehiIcon(map, vehicle, 2), 1);
    EXPECT_EQ(_MAP_UpdateVehicle(map, vehicle, "abc", "31.0", 4, 0, "", "", ""), 1);
    EXPECT_EQ(_MAP_UpdateVehicle(map, vehicle, "190.0", "31.0", 4, 0, "", "", ""), 1);
    EXPECT_EQ(_MAP_UpdateVehicle(map, vehicle, nullptr, "31.0", 4, 0, "", "", ""), 1);
    EXPECT_EQ(_MAP_TKUpdateMarker(track, 9, "", "121.0", "31.0", 0, 5, "", "", 1, "", ""), 1);
    EXPECT_EQ(_MAP_TKDeleteMarker(track, 9), 1);
    EXPECT_EQ(_MAP_TKPushPoint(track, "121.0", "91.0"), 1);
    EXPECT_EQ(_MAP_TKDrawPoint(track), 0);   // nothing new to draw

    maptest::Shot after = maptest::Grab(window);
    EXPECT_TRUE(before == after);
    EXPECT_EQ(_MAP_IsLoadComplete(map), 0);
}
