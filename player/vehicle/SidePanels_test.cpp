// The GPS panel, the scope panel and its legend bar as a user sees them:
// texts by language, the gauge, the track colour radios, the map provider
// and the map switch; samples drawn by the charts, the legend switch, a
// burst of resizes, Escape on the bar.
#include "vehicle/DlgSpeedometer.h"
#include "vehicle/ScopeDlg.h"
#include "vehicle/ScopeMenu.h"

#include "AppSettings.h"
#include "LanguageHolder.h"
#include "app/MainWindow.h"
#include "PostedBlock.h"
#include "PrivateMessages.h"
#include "app/Relaunch.h"
#include "vehicle/SidePanelLayout.h"
#include "WindowTest.h"

#include "TextExtent.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <fstream>
#include <memory>
#include <string>

using wintest::Pump;
using wintest::PumpUntil;

extern HWND g_hMainWnd;  // the main window, which the GPS panel closes

namespace {

// The top-level window the panels live in, standing in for the main
// dialog; it counts what the panels ask of the main window and the keys
// it is offered.
class Host : public CWnd, public IMainWindow {
public:
    int trackColourCalls = 0, toggles = 0, keysSeen = 0;
    Host(int w, int h)
    {
        CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, nullptr, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                 w, h, nullptr, 0);
    }
    ~Host() override { DestroyWindow(); }
    void UpdateTexts() override {}
    void ToggleMap() override { ++toggles; }
    void ShowSearchRoot(const std::wstring&) override {}
    void ShowStreamInfo(const std::wstring&) override {}
    void ApplyScreenLayout() override {}
    void LoadLanguageImages() override {}
    void ApplyTrackColour() override { ++trackColourCalls; }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            ++keysSeen;
        return FALSE;
    }
};

// Settings, language and the program folder of one test, put back after it.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {8, 0xFF};
        InitCommonControlsEx(&icc);
        saved = g_Settings;
        g_Settings.language = &language;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        g_Settings.programFolder = std::string(temp) + "zarv-side-panels";
        CreateDirectoryA(g_Settings.programFolder.c_str(), nullptr);
        DeleteFileA(g_Settings.ConfigPath().c_str());
        SetLanguage(1, 1);
    }
    void TearDown() override
    {
        DeleteFileA(g_Settings.ConfigPath().c_str());
        RemoveDirectoryA(g_Settings.programFolder.c_str());
        g_Settings = saved;
        g_hMainWnd = nullptr;
        SetRelaunchOnExit(false);
    }
    void SetLanguage(int index, int code)
    {
        language.SetLanguage(index);
        g_Settings.languageCode = code;
    }
    std::string ConfigText() const
    {
        std::ifstream in(g_Settings.ConfigPath());
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    AppSettings saved;
    LanguageHolder language;
};

std::wstring ItemText(HWND dialog, int id)
{
    return CString::WindowText(GetDlgItem(dialog, id));
}

bool Visible(HWND dialog, int id)
{
    return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

HBITMAP ButtonImage(const CImageButton& b)
{
    return b.bitmaps[0].bitmap;
}

// True when the bitmap shows the resource image id (same size and pixels).
bool SameImage(HBITMAP shown, int id)
{
    HBITMAP expected = static_cast<HBITMAP>(
        LoadImageW(CDialog::ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP a = {}, b = {};
    bool same = shown && expected && GetObjectW(shown, sizeof a, &a) && GetObjectW(expected, sizeof b, &b) &&
                a.bmWidth == b.bmWidth && a.bmHeight == b.bmHeight;
    if (same) {
        HDC dc = GetDC(nullptr);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = a.bmWidth;
        bi.bmiHeader.biHeight = a.bmHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> pa(size_t(a.bmWidth) * size_t(a.bmHeight)), pb(pa.size());
        GetDIBits(dc, shown, 0, UINT(a.bmHeight), pa.data(), &bi, DIB_RGB_COLORS);
        GetDIBits(dc, expected, 0, UINT(b.bmHeight), pb.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        // The button keys its transparent colour out to black: compare the
        // other pixels.
        int differ = 0;
        for (size_t i = 0; i < pa.size(); ++i)
            if ((pa[i] & 0xFFFFFF) != 0 && (pa[i] & 0xFFFFFF) != (pb[i] & 0xFFFFFF))
                ++differ;
        same = differ == 0;
    }
    if (expected)
        DeleteObject(expected);
    return same;
}

}  // namespace

// --- The GPS panel -------------------------------------------------------

class GpsPanelTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        host = std::make_unique<Host>(900, 700);
        g_Settings.mainDlg = host.get();
        g_hMainWnd = host->m_hWnd;
        page.CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, host->m_hWnd, 1);
        map.CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 700, 0, 200, 400, host->m_hWnd, 2);
        panel.playbackPage = &page;
        panel.mapPane = &map;
        ASSERT_TRUE(panel.Create(host.get()));
        panel.MoveWindow(0, 400, 441, 300);
        panel.ShowWindow(SW_SHOW);
        Pump(50);
    }
    void TearDown() override
    {
        panel.DestroyWindow();
        page.DestroyWindow();
        map.DestroyWindow();
        host.reset();
        g_Settings.mainDlg = nullptr;
        PanelTest::TearDown();
    }
    void Click(int id)
    {
        SendMessageW(GetDlgItem(panel.m_hWnd, id), BM_CLICK, 0, 0);
        Pump(20);
    }

    std::unique_ptr<Host> host;
    CWnd page, map;
    CSpeedometer panel;
};

TEST_F(GpsPanelTest, TextsAndTheSpeedUnitFollowTheLanguage)
{
    struct Case {
        int index, code;
        const wchar_t *longitude, *unit, *google, *track;
    } cases[] = {
        {1, 1, L"经度:", L"km/h", L"谷歌", L"轨迹颜色"},
        {2, 2, L"經度:", L"km/h", L"谷歌", L"軌跡顏色"},
        {0, 3, L"Longitude:", L"mph", L"Google", L"Track:"},
    };
    for (const Case& c : cases) {
        SetLanguage(c.index, c.code);
        panel.UpdateTexts();
        EXPECT_EQ(ItemText(panel.m_hWnd, IDC_LONGITUDE_CAPTION), c.longitude);
        EXPECT_EQ(ItemText(panel.m_hWnd, IDC_SPEED_UNIT), c.unit) << c.code;
        EXPECT_EQ(ItemText(panel.m_hWnd, IDC_MAP_PROVIDER), c.google);
        EXPECT_EQ(ItemText(panel.m_hWnd, IDC_TRACK_CAPTION), c.track);
    }
    // The provider in use is the one selected.
    g_Settings.mapSelect = 3;
    panel.UpdateTexts();
    EXPECT_EQ(panel.mapProvider.SendMessage(CB_GETCURSEL), 1);
}

TEST_F(GpsPanelTest, TheGpsFixBoxHiddenOnAnEnglishStartComesBackWithChinese)
{
    g_Settings.lanSelect = 0;
    g_Settings.gpsFix = 0;
    SetLanguage(0, 3);
    panel.UpdateTexts();
    EXPECT_FALSE(Visible(panel.m_hWnd, IDC_GPS_FIX));
    EXPECT_FALSE(Visible(panel.m_hWnd, IDC_GPS_FIX_CAPTION));
    // The user picks Simplified Chinese in the search panel.
    g_Settings.lanSelect = 1;
    SetLanguage(1, 1);
    panel.UpdateTexts();
    EXPECT_TRUE(Visible(panel.m_hWnd, IDC_GPS_FIX));
    EXPECT_TRUE(Visible(panel.m_hWnd, IDC_GPS_FIX_CAPTION));
    EXPECT_EQ(IsDlgButtonChecked(panel.m_hWnd, IDC_GPS_FIX), BST_UNCHECKED);
    // Ticking it turns the correction on and saves it.
    Click(IDC_GPS_FIX);
    EXPECT_EQ(g_Settings.gpsFix, 1);
    EXPECT_NE(ConfigText().find("FIX=1"), std::string::npos) << ConfigText();
}

TEST_F(GpsPanelTest, TheWidestValuesFitTheirBoxesWhateverMarginsTheFontGives)
{
    // A font that keeps wide margins beside an edit's text (as proportional
    // fonts do): the boxes make room for them too.
    const int values[3] = {IDC_GPS_LONGITUDE, IDC_GPS_LATITUDE, IDC_GPS_SPEED};
    for (int id : values)
        SendDlgItemMessageW(panel.m_hWnd, id, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(6, 6));
    for (int code : {1, 3}) {
        SetLanguage(code == 3 ? 0 : 1, code);
        panel.UpdateTexts();
        panel.SetLongitude(L"-140.4988");
        panel.SetLatitude(L"-33.8688");
        panel.SetSpeed(188);
        panel.Refresh();
        Pump(20);
        for (int id : values) {
            HWND box = GetDlgItem(panel.m_hWnd, id);
            RECT c;
            GetClientRect(box, &c);
            const LRESULT margins = SendMessageW(box, EM_GETMARGINS, 0, 0);
            const std::wstring text = ItemText(panel.m_hWnd, id);
            EXPECT_LE(TextWidth(box, text), c.right - LOWORD(margins) - HIWORD(margins))
                << "box " << id << " in language " << code;
        }
    }
}

TEST_F(GpsPanelTest, PositionAndSpeedShowAndTheGaugeFollowsTheSpeed)
{
    EXPECT_EQ(ItemText(panel.m_hWnd, IDC_GPS_LONGITUDE), L"0.0000");
    EXPECT_EQ(panel.gaugeBitmap, IDB_GAUGE_0);
    panel.SetLongitude(L"-130.1234");
    panel.SetLatitude(L"22.5417");
    panel.SetSpeed(85);
    panel.Refresh();
    EXPECT_EQ(ItemText(panel.m_hWnd, IDC_GPS_LONGITUDE), L"-130.1234");
    EXPECT_EQ(ItemText(panel.m_hWnd, IDC_GPS_LATITUDE), L"22.5417");
    EXPECT_EQ(ItemText(panel.m_hWnd, IDC_GPS_SPEED), L"85");
    EXPECT_EQ(panel.gaugeBitmap, IDB_GAUGE_80);
    HBITMAP shown = reinterpret_cast<HBITMAP>(SendDlgItemMessageW(panel.m_hWnd, IDC_GPS_GAUGE, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_TRUE(SameImage(shown, IDB_GAUGE_80));
    panel.SetSpeed(150);
    EXPECT_EQ(panel.gaugeBitmap, IDB_GAUGE_140);
    // The gauge's needle as the screen shows it: in the right half of the
    // dial at 150, in the left half at 10.
    panel.Refresh();
    UpdateWindow(panel.m_hWnd);
    Pump(100);
    HWND gauge = GetDlgItem(panel.m_hWnd, IDC_GPS_GAUGE);
    auto white = [](COLORREF c) { return c == RGB(255, 255, 255); };
    wintest::ScreenCapture fast(gauge);
    EXPECT_GT(fast.Count(60, 30, 110, 56, white), 10);
    EXPECT_EQ(fast.Count(0, 30, 50, 56, white), 0);
    panel.SetSpeed(10);
    panel.Refresh();
    UpdateWindow(panel.m_hWnd);
    Pump(100);
    wintest::ScreenCapture slow(gauge);
    EXPECT_GT(slow.Count(0, 30, 50, 58, white), 10);
}

TEST_F(GpsPanelTest, ARadioSetsTheTrackColourEvenWhenLeftUnchecked)
{
    EXPECT_EQ(IsDlgButtonChecked(panel.m_hWnd, IDC_TRACK_RED), BST_CHECKED);
    Click(IDC_TRACK_BLUE);
    EXPECT_EQ(g_Settings.trackColor, 2);
    EXPECT_EQ(IsDlgButtonChecked(panel.m_hWnd, IDC_TRACK_BLUE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(panel.m_hWnd, IDC_TRACK_RED), BST_UNCHECKED);
    EXPECT_EQ(host->trackColourCalls, 1);
    // A handler reached with its radio unchecked still takes its colour.
    CheckDlgButton(panel.m_hWnd, IDC_TRACK_BLACK, BST_UNCHECKED);
    SendMessageW(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TRACK_BLACK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(panel.m_hWnd, IDC_TRACK_BLACK)));
    EXPECT_EQ(g_Settings.trackColor, 3);
    EXPECT_EQ(IsDlgButtonChecked(panel.m_hWnd, IDC_TRACK_BLUE), BST_CHECKED);
    EXPECT_EQ(host->trackColourCalls, 2);
    EXPECT_EQ(TrackColour(2), RGB(0, 0, 255));
}

TEST_F(GpsPanelTest, ChoosingAMapProviderSavesItAndRestartsEvenTheSameOne)
{
    for (int index : {1, 0}) {
        SetRelaunchOnExit(false);
        panel.UpdateTexts();
        panel.mapProvider.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
        SendMessageW(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_MAP_PROVIDER, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(panel.mapProvider.m_hWnd));
        EXPECT_NE(ConfigText().find(index == 1 ? "MAP_SELECT=3" : "MAP_SELECT=0"), std::string::npos) << ConfigText();
        EXPECT_TRUE(RelaunchOnExit());
        // The main window is asked to close; the provider in use stays.
        MSG msg;
        EXPECT_TRUE(PeekMessageW(&msg, host->m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE));
        EXPECT_EQ(g_Settings.mapSelect, 0);
    }
}

TEST_F(GpsPanelTest, TheMapSwitchFoldsTheMapAndWidensThePage)
{
    HWND timeLabel = CreateWindowW(L"STATIC", L"00:05 / 00:10", WS_CHILD | WS_VISIBLE, 0, 0, 80, 14, page.m_hWnd,
                                   nullptr, nullptr, nullptr);
    ASSERT_TRUE(SendMessageW(panel.mapButton.m_hWnd, BM_CLICK, 0, 0) == 0);
    Pump(20);
    EXPECT_EQ(panel.mapHidden, 1);
    EXPECT_FALSE(IsWindowVisible(map.m_hWnd));
    RECT r;
    GetWindowRect(page.m_hWnd, &r);
    MapWindowPoints(nullptr, host->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    const PanelRect wide = PagePlaceForMap(0, 0, 900, 700, false, 400);
    EXPECT_EQ(r.left, wide.x);
    EXPECT_EQ(r.right, 895);
    // Down to the panel (at 400, above the 84% line), never over its map
    // button.
    EXPECT_EQ(r.bottom, 398);
    EXPECT_TRUE(SameImage(ButtonImage(panel.mapButton), IDB_MAP_SHOW_SC));
    EXPECT_TRUE(IsWindowVisible(timeLabel));

    // A language switch while the map is folded keeps the folded look.
    SetLanguage(0, 3);
    panel.LoadLanguageImages();
    EXPECT_TRUE(SameImage(ButtonImage(panel.mapButton), IDB_MAP_SHOW_EN));
    EXPECT_TRUE(SameImage(ButtonImage(panel.aboutButton), IDB_ABOUT_EN));

    panel.OnToggleMap();
    EXPECT_EQ(panel.mapHidden, 0);
    EXPECT_TRUE(IsWindowVisible(map.m_hWnd));
    GetWindowRect(page.m_hWnd, &r);
    MapWindowPoints(nullptr, host->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.right, 77 * 900 / 100 + 5);
    EXPECT_TRUE(SameImage(ButtonImage(panel.mapButton), IDB_MAP_HIDE_EN));
    EXPECT_TRUE(IsWindowVisible(timeLabel));
}

// --- The scope panel and the legend bar ---------------------------------

class ScopeTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        host = std::make_unique<Host>(660, 260);
        ASSERT_TRUE(scope.Create(host.get()));
        scope.MoveWindow(0, 0, 640, 200);
        scope.ShowWindow(SW_SHOW);
        ASSERT_TRUE(legend.Create(host.get()));
        legend.MoveWindow(0, 200, 640, 17);
        legend.ShowWindow(SW_SHOW);
        legend.UpdateTexts();
        Pump(150);  // the resize timer sets the charts up
    }
    void TearDown() override
    {
        legend.DestroyWindow();
        scope.DestroyWindow();
        host.reset();
        PanelTest::TearDown();
    }
    // The chart as the screen shows it, once it stopped changing.
    wintest::ScreenCapture Shown(Cscope& chart)
    {
        UpdateWindow(chart.m_hWnd);
        Pump(100);
        return wintest::ScreenCapture(chart.m_hWnd);
    }
    void PostAcceleration(double x, double y, double z)
    {
        std::unique_ptr<AccelerationSample> s(new AccelerationSample{x, y, z});
        ASSERT_TRUE(PostBlock(g_hScopeWnd, WM_SCOPE_ACCEL, 0, std::move(s)));
    }

    std::unique_ptr<Host> host;
    CScopeDlg scope;
    CScopeMenu legend;
};

TEST_F(ScopeTest, TheSpeedChartDrawsThePostedSpeeds)
{
    ASSERT_EQ(g_hScopeWnd, scope.m_hWnd);
    EXPECT_TRUE(IsWindowVisible(scope.speedChart.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(scope.accelChart.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(scope.brakeLabel.m_hWnd));
    // The chart covers the panel.
    RECT c;
    GetClientRect(scope.speedChart.m_hWnd, &c);
    EXPECT_EQ(c.right, 640);
    EXPECT_EQ(c.bottom, 200);
    // 60 km/h for 150 samples, then 20: a level line high up over the
    // older samples at the right, a low one at the left.
    for (int i = 0; i < 150; ++i)
        PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 60, 0);
    for (int i = 0; i < 50; ++i)
        PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 20, 0);
    Pump(300);
    ASSERT_EQ(scope.speedChart.curves[0].size(), 200u);
    EXPECT_DOUBLE_EQ(scope.speedChart.curves[0].front().y, 20);
    EXPECT_DOUBLE_EQ(scope.speedChart.curves[0].back().y, 60);
    wintest::ScreenCapture shot = Shown(scope.speedChart);
    const RECT p = scope.speedChart.plotRect;
    const double ypp = scope.speedChart.yUnitsPerPixel;
    ASSERT_GT(ypp, 0);
    auto rowOf = [&](double v) { return p.bottom - static_cast<int>((v - scope.speedChart.yMin[0]) / ypp); };
    auto green = [](COLORREF x) { return x == RGB(0, 255, 0); };
    const int w = p.right - p.left;
    EXPECT_GT(shot.Count(p.left, rowOf(20) - 1, p.left + w / 5, rowOf(20) + 2, green), w / 8);
    EXPECT_GT(shot.Count(p.right - w / 3, rowOf(60) - 1, p.right, rowOf(60) + 2, green), w / 5);
}

TEST_F(ScopeTest, EachAccelerationBlockIsPlottedOnceAndFreed)
{
    const size_t blocks = PendingBlockCount();
    // Three frames queued before the panel reads any: each keeps its values.
    PostAcceleration(1, 2, 3);
    PostAcceleration(4, 5, 6);
    PostAcceleration(7, 8, 9);
    EXPECT_EQ(PendingBlockCount(), blocks + 3);
    Pump(200);
    EXPECT_EQ(PendingBlockCount(), blocks);
    const Cscope::Curve* curves = scope.accelChart.curves;
    ASSERT_EQ(curves[0].size(), 3u);
    // Newest first; the chart lifts each value by 0.2.
    EXPECT_DOUBLE_EQ(curves[0][0].y, 7.2);
    EXPECT_DOUBLE_EQ(curves[0][2].y, 1.2);
    EXPECT_DOUBLE_EQ(curves[1][1].y, 5.2);
    EXPECT_DOUBLE_EQ(curves[2][0].y, 9.2);
    EXPECT_EQ(scope.speedChart.curves[0].size(), 0u);
}

TEST_F(ScopeTest, TheLegendSwitchShowsOneChartAndItsLegends)
{
    EXPECT_TRUE(Visible(legend.m_hWnd, IDC_LEGEND_SPEED));
    EXPECT_FALSE(Visible(legend.m_hWnd, IDC_LEGEND_X));
    EXPECT_EQ(ItemText(legend.m_hWnd, IDC_LEGEND_SPEED), L"播放速度(km/h)");
    EXPECT_TRUE(SameImage(ButtonImage(legend.buttons[0]), IDB_SPEED_LIT_CN));
    // The speed button while the speed chart shows changes nothing.
    SendMessageW(legend.buttons[0].m_hWnd, BM_CLICK, 0, 0);
    Pump(20);
    EXPECT_EQ(legend.speedShown, 1);
    EXPECT_TRUE(SameImage(ButtonImage(legend.buttons[0]), IDB_SPEED_LIT_CN));

    SendMessageW(legend.buttons[1].m_hWnd, BM_CLICK, 0, 0);
    Pump(50);
    EXPECT_EQ(legend.speedShown, 0);
    EXPECT_FALSE(IsWindowVisible(scope.speedChart.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(scope.accelChart.m_hWnd));
    EXPECT_FALSE(Visible(legend.m_hWnd, IDC_LEGEND_SPEED));
    for (int id : {IDC_LEGEND_X, IDC_LEGEND_Y, IDC_LEGEND_Z})
        EXPECT_TRUE(Visible(legend.m_hWnd, id));
    EXPECT_TRUE(SameImage(ButtonImage(legend.buttons[0]), IDB_SPEED_DIM_CN));
    EXPECT_TRUE(SameImage(ButtonImage(legend.buttons[1]), IDB_ACCEL_LIT_CN));
    // The legends in their colours on the bar.
    UpdateWindow(legend.m_hWnd);
    Pump(50);
    wintest::ScreenCapture bar(legend.m_hWnd);
    // The texts are smoothed: their strongest pixels count.
    const struct {
        int id;
        bool red, green;
    } legends[] = {{IDC_LEGEND_X, false, true}, {IDC_LEGEND_Y, true, false}, {IDC_LEGEND_Z, true, true}};
    for (const auto& l : legends) {
        RECT r;
        GetWindowRect(GetDlgItem(legend.m_hWnd, l.id), &r);
        MapWindowPoints(nullptr, legend.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        auto inColour = [&](COLORREF c) {
            return (GetRValue(c) > 180) == l.red && (GetGValue(c) > 180) == l.green && GetBValue(c) < 90;
        };
        EXPECT_GT(bar.Count(r.left, r.top, r.right, r.bottom, inColour), 5) << l.id;
        EXPECT_GT(bar.CountColour(r.left, r.top, r.right, r.bottom, RGB(4, 33, 66)), 50) << l.id;
    }
    // Again the acceleration button: nothing; then back to speed.
    SendMessageW(legend.buttons[1].m_hWnd, BM_CLICK, 0, 0);
    Pump(20);
    EXPECT_EQ(legend.speedShown, 0);
    legend.OnShowSpeed();
    EXPECT_TRUE(IsWindowVisible(scope.speedChart.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(scope.accelChart.m_hWnd));
    EXPECT_TRUE(Visible(legend.m_hWnd, IDC_LEGEND_SPEED));
    EXPECT_FALSE(Visible(legend.m_hWnd, IDC_LEGEND_Z));
}

TEST_F(ScopeTest, EnglishLegendsAndAWiderAccelerationButton)
{
    SetLanguage(0, 3);
    legend.UpdateTexts();
    legend.LoadLanguageImages();
    legend.LayoutButtons();
    EXPECT_EQ(ItemText(legend.m_hWnd, IDC_LEGEND_SPEED), L"Playback Speed(mile/h)");
    EXPECT_EQ(ItemText(legend.m_hWnd, IDC_LEGEND_Y), L"Acce-Y");
    RECT r;
    GetWindowRect(legend.buttons[1].m_hWnd, &r);
    EXPECT_EQ(r.right - r.left, 58);
    EXPECT_TRUE(SameImage(ButtonImage(legend.buttons[0]), IDB_SPEED_LIT_EN));
    EXPECT_TRUE(SameImage(ButtonImage(legend.buttons[1]), IDB_ACCEL_DIM_EN));
}

TEST_F(ScopeTest, ABurstOfResizesResetsTheChartsOnce)
{
    for (int i = 0; i < 5; ++i)
        PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 30, 0);
    Pump(50);
    ASSERT_EQ(scope.speedChart.curves[0].size(), 5u);
    scope.MoveWindow(0, 0, 600, 180);
    scope.MoveWindow(0, 0, 620, 190);
    // Within the 50 ms the samples stay; after it the charts start again
    // at the new size.
    EXPECT_EQ(scope.speedChart.curves[0].size(), 5u);
    PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 40, 0);
    ASSERT_TRUE(PumpUntil([&] { return scope.speedChart.curves[0].empty(); }, 1000));
    RECT c;
    GetClientRect(scope.accelChart.m_hWnd, &c);
    EXPECT_EQ(c.right, 620);
    EXPECT_EQ(c.bottom, 190);
    EXPECT_EQ(scope.speedChart.windowRect.left, -15);
    EXPECT_EQ(scope.speedChart.windowRect.right, 618);
    PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 50, 0);
    Pump(100);
    EXPECT_EQ(scope.speedChart.curves[0].size(), 1u);
}

TEST_F(ScopeTest, EscapeOnTheLegendBarGoesNoFurther)
{
    SetForegroundWindow(host->m_hWnd);
    PostMessageW(legend.buttons[0].m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(legend.buttons[0].m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
    Pump(100);
    EXPECT_EQ(host->keysSeen, 1);  // the space bar only
    EXPECT_TRUE(IsWindowVisible(legend.m_hWnd));
}

TEST_F(ScopeTest, ALanguageWithAnotherSpeedUnitStartsTheSpeedChartAfresh)
{
    // Chinese: km/h. A sample still on its way when the language changes
    // is of the old unit too.
    for (int i = 0; i < 5; ++i)
        PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 100, 0);
    Pump(50);
    PostAcceleration(1, 2, 3);
    PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 100, 0);
    // English, as the main dialog relabels its panels: miles per hour.
    SetLanguage(0, 3);
    legend.UpdateTexts();
    for (int i = 0; i < 3; ++i)
        PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 62, 0);
    Pump(100);
    EXPECT_EQ(ItemText(legend.m_hWnd, IDC_LEGEND_SPEED), L"Playback Speed(mile/h)");
    ASSERT_EQ(scope.speedChart.curves[0].size(), 3u);
    for (const Cscope::tagDISFORCE& s : scope.speedChart.curves[0])
        EXPECT_DOUBLE_EQ(s.y, 62);
    // The scale is of the new samples only (62 widened to 57 .. 67).
    EXPECT_DOUBLE_EQ(scope.speedChart.yMax[0], 67);
    // The acceleration chart has no unit to change.
    EXPECT_EQ(scope.accelChart.curves[0].size(), 1u);

    // Traditional Chinese: km/h again, a fresh chart; Simplified Chinese
    // after it keeps the unit and the samples.
    SetLanguage(2, 2);
    legend.UpdateTexts();
    PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 100, 0);
    Pump(50);
    SetLanguage(1, 1);
    legend.UpdateTexts();
    PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, 90, 0);
    Pump(50);
    EXPECT_EQ(ItemText(legend.m_hWnd, IDC_LEGEND_SPEED), L"播放速度(km/h)");
    ASSERT_EQ(scope.speedChart.curves[0].size(), 2u);
    EXPECT_DOUBLE_EQ(scope.speedChart.curves[0][0].y, 90);
    EXPECT_DOUBLE_EQ(scope.speedChart.curves[0][1].y, 100);
}
