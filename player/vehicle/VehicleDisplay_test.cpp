// Information frames shown without the engine: frames made by the record
// writer handed to the display one by one, with the GPS panel, the scope
// panel and a map pane with its map.
#include "vehicle/VehicleDisplay.h"

#include "AppSettings.h"
#include "vehicle/DlgMap.h"
#include "vehicle/DlgSpeedometer.h"
#include "InfoFields.h"
#include "LanguageHolder.h"
#include "PostedBlock.h"
#include "vehicle/ScopeDlg.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <memory>
#include <vector>

using recwriter::InfoFields;
using wintest::Pump;

namespace {

// The panels of one process: the map starts once per process.
struct Panels {
    CWnd host;
    CDlgMap map;
    CSpeedometer gps;
    CScopeDlg scope;
    LanguageHolder language;

    Panels()
    {
        INITCOMMONCONTROLSEX icc = {8, 0xFF};
        InitCommonControlsEx(&icc);
        _MAP_Initialize();
        g_Settings.language = &language;
        host.CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, nullptr, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                      0, 900, 700, nullptr, 0);
        map.Create(&host);
        map.MoveWindow(450, 0, 450, 400);
        map.ShowWindow(SW_SHOW);
        gps.Create(&host);
        gps.MoveWindow(450, 400, 441, 300);
        gps.ShowWindow(SW_SHOW);
        scope.Create(&host);
        scope.MoveWindow(0, 400, 440, 200);
        scope.ShowWindow(SW_SHOW);
        wintest::PumpUntil([&] { return map.ready == 1; }, 5000);
    }
};

Panels* g_panels = nullptr;

class VehicleDisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { g_panels = new Panels; }
    static void TearDownTestSuite()
    {
        delete g_panels;
        g_panels = nullptr;
    }
    void SetUp() override
    {
        ASSERT_EQ(g_panels->map.ready, 1);
        display.gpsPanel = &g_panels->gps;
        display.mapPane = &g_panels->map;
        g_Settings.languageCode = 1;
        g_Settings.language->SetLanguage(1);
        g_Settings.gpsFix = 0;
        g_Settings.trackColor = 0;
        g_Settings.firstInfoSeen = 0;
        g_panels->scope.ResetCharts();
    }
    void TearDown() override { display.Stop(); }

    // One frame, a fix apart from the last (fixes come 100 ms apart).
    void Show(const InfoFields& f, size_t length = 48)
    {
        Pump(110);
        std::vector<uint8_t> b = recwriter::InfoBlock(f, length);
        display.Show(b.data(), b.size(), resync);
        Pump(20);
    }
    static InfoFields At(double lat, double lon, unsigned speed = 40)
    {
        InfoFields f;
        recwriter::SetLatitude(f, lat, 4);
        recwriter::SetLongitude(f, lon, 4);
        f.speedKmh = speed;
        f.heading = 9000;
        return f;
    }
    std::wstring Text(int id) const { return CString::WindowText(GetDlgItem(g_panels->gps.m_hWnd, id)); }
    const Cscope::Curve& Speeds() const { return g_panels->scope.speedChart.curves[0]; }
    int MapPixels(COLORREF colour) const
    {
        HWND map = GetWindow(g_panels->map.canvas.m_hWnd, GW_CHILD);
        RedrawWindow(map, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(50);
        wintest::ScreenCapture c(map);
        return c.CountColour(0, 0, c.Width(), c.Height(), colour);
    }

    VehicleDisplay display;
    int resync = 0;
};

}  // namespace

TEST_F(VehicleDisplayTest, FramesMoveThePanelTheChartsAndTheMap)
{
    ASSERT_TRUE(display.PlaceOnMap());
    ASSERT_NE(display.track, 0);
    // The first frame after an open is passed over.
    Show(At(-22.5, 130.0, 90));
    EXPECT_EQ(g_Settings.firstInfoSeen, 1);
    EXPECT_TRUE(Speeds().empty());
    EXPECT_EQ(Text(IDC_GPS_SPEED), L"0");
    // 22°32.5000'S 130°E, moving north-east: the panel, the chart, the map.
    for (int i = 0; i < 12; ++i) {
        InfoFields f = At(-(22 + 32.5 / 60) + i * 0.0002, 130.0 + i * 0.0002, 60 + unsigned(i));
        f.accel[0] = -8;
        Show(f);
    }
    EXPECT_EQ(Text(IDC_GPS_LATITUDE), L"-22.5395");
    EXPECT_EQ(Text(IDC_GPS_LONGITUDE), L"130.0022");
    EXPECT_EQ(Text(IDC_GPS_SPEED), L"71");
    EXPECT_EQ(g_panels->gps.gaugeBitmap, IDB_GAUGE_60);
    ASSERT_EQ(Speeds().size(), 12u);
    EXPECT_DOUBLE_EQ(Speeds().front().y, 71);
    EXPECT_DOUBLE_EQ(Speeds().back().y, 60);
    // G -8 is 5 on the chart (a magnitude), lifted by the chart's 0.2.
    EXPECT_DOUBLE_EQ(g_panels->scope.accelChart.curves[0].front().y, 5.2);
    EXPECT_EQ(display.markerShown, 1);
    // The track in its colour, red until another is chosen.
    EXPECT_GT(MapPixels(RGB(255, 0, 0)), 20);
    g_Settings.trackColor = 2;
    display.ApplyTrackColour();
    EXPECT_GT(MapPixels(RGB(0, 0, 255)), 20);
    EXPECT_EQ(MapPixels(RGB(255, 0, 0)), 0);
}

TEST_F(VehicleDisplayTest, EnglishShowsMilesPerHourOnThePanelAndTheChart)
{
    g_Settings.languageCode = 3;
    g_Settings.language->SetLanguage(0);
    g_Settings.firstInfoSeen = 1;
    Show(At(30, 120, 100));
    EXPECT_EQ(Text(IDC_GPS_SPEED), L"62");
    ASSERT_EQ(Speeds().size(), 1u);
    EXPECT_DOUBLE_EQ(Speeds().front().y, 62);
}

TEST_F(VehicleDisplayTest, AnOutlierReachesTheChartsButNotThePanel)
{
    g_Settings.firstInfoSeen = 1;
    display.PlaceOnMap();
    Show(At(30, 120));
    Show(At(30.0001, 120));
    EXPECT_EQ(Text(IDC_GPS_LATITUDE), L"30.0001");
    Show(At(30.02, 120, 77));  // 2 km off
    EXPECT_EQ(Text(IDC_GPS_LATITUDE), L"30.0001");
    EXPECT_EQ(Text(IDC_GPS_SPEED), L"77");
    ASSERT_EQ(Speeds().size(), 3u);
    EXPECT_DOUBLE_EQ(Speeds().front().y, 77);
}

TEST_F(VehicleDisplayTest, AShortBlockShowsNothing)
{
    g_Settings.firstInfoSeen = 1;
    Show(At(30, 120, 50));
    const size_t blocks = PendingBlockCount();
    Show(At(31, 121, 90), 20);
    EXPECT_EQ(PendingBlockCount(), blocks);
    EXPECT_EQ(Speeds().size(), 1u);
    EXPECT_EQ(Text(IDC_GPS_SPEED), L"50");
    EXPECT_EQ(Text(IDC_GPS_LATITUDE), L"30.0000");
}

TEST_F(VehicleDisplayTest, StoppingDeletesTheTrackAndForgetsThePositions)
{
    g_Settings.firstInfoSeen = 1;
    display.PlaceOnMap();
    Show(At(30, 120));
    const GEODRAW_HANDLE old = display.track;
    ASSERT_NE(old, 0);
    display.Stop();
    EXPECT_EQ(display.track, 0);
    EXPECT_EQ(display.markerShown, 0);
    EXPECT_EQ(_MAP_TKPushPoint(old, "120.0", "30.0"), 1);  // gone with its marker
    // The next group, 200 m away, shows at once on a new track.
    ASSERT_TRUE(display.PlaceOnMap());
    EXPECT_NE(display.track, 0);
    EXPECT_NE(display.track, old);
    Show(At(30.002, 120));
    EXPECT_EQ(Text(IDC_GPS_LATITUDE), L"30.0020");
    EXPECT_EQ(display.markerShown, 1);
    // Placing again keeps the track it has.
    const GEODRAW_HANDLE now = display.track;
    display.PlaceOnMap();
    EXPECT_EQ(display.track, now);
}

// Fixes come every ~120 ms, the map timer every 300 ms: the first fixes of
// an open can be handled before the first tick places the vehicle. They
// set no marker without a track, so the tick still makes the track and
// the next fix starts it.
TEST_F(VehicleDisplayTest, FixesBeforeTheFirstTickStillGetATrack)
{
    g_Settings.firstInfoSeen = 1;
    Show(At(30, 120));
    Show(At(30.0002, 120));
    EXPECT_EQ(display.track, 0);
    EXPECT_EQ(display.markerShown, 0);
    ASSERT_TRUE(display.PlaceOnMap());
    ASSERT_NE(display.track, 0);
    for (int i = 2; i < 12; ++i)
        Show(At(30 + i * 0.0004, 120));
    EXPECT_EQ(display.markerShown, 1);
    EXPECT_GT(MapPixels(RGB(255, 0, 0)), 20);
}
