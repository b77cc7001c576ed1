#include "vehicle/DlgMap.h"

#include "WindowTest.h"
#include "geodraw.h"

#include <gtest/gtest.h>

namespace {

// The main dialog's stand-in: a plain top window the pane is a child of.
struct Host {
    CWnd top;
    Host()
    {
        _MAP_Initialize();
        top.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 500, 400,
                     nullptr, 0);
    }
    ~Host() { top.DestroyWindow(); }
};

}  // namespace

TEST(MapPane, StartsTheMapOnceAndAddsOneVehicleWhenReady)
{
    Host host;
    CDlgMap pane;
    ASSERT_TRUE(pane.Create(&host.top));
    pane.MoveWindow(10, 10, 400, 300);
    pane.ShowWindow(SW_SHOW);
    EXPECT_EQ(pane.ready, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return pane.ready == 1; }, 5000));
    EXPECT_NE(pane.mapHandle, 0);
    EXPECT_EQ(CDlgMap::MapStarts(), 1);
    // The vehicle came with the map, once: a second add names the same one.
    INT_PTR id = pane.VehicleId();
    ASSERT_NE(id, 0);
    INT_PTR again = 0;
    EXPECT_EQ(pane.AddVehicle(&again), 1);
    EXPECT_EQ(again, id);
    // The map library knows it: an update of it succeeds.
    EXPECT_EQ(_MAP_UpdateVehicle(pane.mapHandle, id, "120.15", "30.28", 2, 0, "45", "", "speed:45"), 0);

    // The map window fills the canvas, which fills the pane.
    wintest::Pump(700);
    RECT client = pane.GetClientRect();
    RECT canvas = {};
    GetWindowRect(pane.canvas.m_hWnd, &canvas);
    EXPECT_EQ(canvas.right - canvas.left, client.right);
    EXPECT_EQ(canvas.bottom - canvas.top, client.bottom);
    HWND map = GetWindow(pane.canvas.m_hWnd, GW_CHILD);
    ASSERT_NE(map, nullptr);
    RECT mapRect = {};
    GetClientRect(map, &mapRect);
    EXPECT_EQ(mapRect.right, client.right);

    // More ticks of the start timer never start the map again.
    wintest::Pump(700);
    EXPECT_EQ(CDlgMap::MapStarts(), 1);
    pane.DestroyWindow();
}

TEST(MapPane, ASecondPaneInTheProcessNeverStartsAMap)
{
    Host host;
    CDlgMap pane;
    ASSERT_TRUE(pane.Create(&host.top));
    wintest::Pump(1000);
    EXPECT_EQ(CDlgMap::MapStarts(), 1);  // the first test's map
    EXPECT_EQ(pane.mapHandle, 0);
    EXPECT_EQ(pane.ready, 0);
    EXPECT_EQ(pane.VehicleId(), 0);
    INT_PTR id = 7;
    EXPECT_EQ(pane.AddVehicle(&id), 0);  // no map: refused, nothing added
    EXPECT_EQ(pane.VehicleId(), 0);
    pane.DestroyWindow();
}
