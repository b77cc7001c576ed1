// The player plays recordings through the engine DLL, and their information
// frames show as a user sees them: the GPS panel's texts, the time label
// against the engine's play time, the charts drawing the speeds and G
// values the frames carry, the legend switch and the map switch. The
// recordings come from the record writer with frames no demo drive has: a
// position past 127° east in the south, then one in the west; an outlier
// 2 km off, a gap of 2 km, a block of 20 bytes.
#include "app/MainDialog.h"
#include "testing/MainDialogFixture.h"

#include "AppSettings.h"
#include "InfoFields.h"
#include "MapPainter.h"
#include "MapSymbols.h"
#include "testing/PlaybackRecordings.h"
#include "playback/EngineCallbacks.h"
#include "PostedBlock.h"
#include "testing/RecordingTree.h"
#include "WinApp.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <vector>

using recwriter::InfoFields;
using wintest::Pump;
using wintest::PumpUntil;

namespace {

const int kSeconds = 10;
const double kStep = 0.000005;  // degrees a picture, about half a metre
const double kAway = 0.02;      // about 2.2 km
const size_t kShortBlock = 60, kOutlier = 100, kGap = 150;  // pictures

unsigned SpeedAt(size_t k)
{
    return 40 + unsigned(k / 25);  // one more km/h every second
}

// Frames of a drive from (lat, lon): the drive's own time of day, the
// speed by SpeedAt, G values -8, 12 and 4 sixteenths; with the outlier,
// the gap and the short block when `damaged`.
std::function<std::vector<uint8_t>(size_t, const InfoFrame&)> Drive(double lat0, double lon0, bool damaged)
{
    return [=](size_t k, const InfoFrame& drive) {
        InfoFields f;
        std::memcpy(f.date, &drive, 6);
        double lat = lat0 - double(k) * kStep, lon = lon0 + double(k) * kStep;
        if (damaged && (k == kOutlier || k >= kGap))
            lat += kAway;
        recwriter::SetLatitude(f, lat, 4);
        recwriter::SetLongitude(f, lon, 4);
        f.speedKmh = SpeedAt(k);
        f.heading = 13500;
        f.accel[0] = -8;
        f.accel[1] = 12;
        f.accel[2] = 4;
        return recwriter::InfoBlock(f, damaged && k == kShortBlock ? 20 : 48);
    };
}

int PlayTime(void* decoder)
{
    int ms = 0;
    OV_GetPlayTime(decoder, &ms);
    return ms;
}

// Seconds of an "mm:ss / mm:ss" label's first half; -1 when it is none.
int LabelSeconds(const std::wstring& label)
{
    int m = 0, s = 0;
    return std::swscanf(label.c_str(), L"%d:%d", &m, &s) == 2 ? m * 60 + s : -1;
}

bool StartsWith(const std::wstring& text, const wchar_t* start)
{
    return text.compare(0, std::wcslen(start), start) == 0;
}

class InfoFramePlaybackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree = std::make_unique<fixture::TempTree>(L"info-frames");
        dlg = OpenMainDialog();
        ASSERT_NE(dlg, nullptr);
        Pump(700);
    }
    void TearDown() override
    {
        CloseMainDialog(dlg);
        dlg = nullptr;
        g_Settings.gpsFix = 1;
    }
    // Lists the one recording of the tree and plays it.
    void Play(std::function<std::vector<uint8_t>(size_t, const InfoFrame&)> frames, int seconds = kSeconds)
    {
        const std::wstring path = fixture::WritePlayableRecording(tree->Root(), 1, 83000, seconds, frames);
        ASSERT_FALSE(path.empty()) << "the playback streams are built beside the test";
        CCommandLineInfo cmd;
        ParseArguments({CString(tree->Root())}, cmd);
        dlg->ApplyCommandLine(cmd);
        HWND list = dlg->fileList.ListControl();
        ASSERT_TRUE(PumpUntil([&] { return !dlg->fileList.scanBusy && ListView_GetItemCount(list) == 1; }, 20000));
        Panel().currentIndex = 0;
        dlg->playbackPage.PlaySelectedFile();
        ASSERT_NE(Panel().decoder, nullptr);
    }
    CDlgPlayBkCtrl& Panel() { return dlg->playbackPage.controlPanel; }
    std::wstring Gps(int id) { return CString::WindowText(dlg->gpsPanel.GetDlgItem(id)); }
    std::wstring TimeLabel() { return CString::WindowText(Panel().GetDlgItem(IDC_TIME_LABEL)); }
    // The time label and the engine's play time agree within a second.
    bool TimeLabelFollowsThePlayTime()
    {
        return Panel().decoder &&
               std::abs(LabelSeconds(TimeLabel()) - PlayTime(Panel().decoder) / 1000) <= 1;
    }
    // The same after at most one more tick of the label's timer (a loaded
    // machine may hold a tick back).
    void ExpectTimeLabelFollowsThePlayTime()
    {
        EXPECT_TRUE(PumpUntil([&] { return TimeLabelFollowsThePlayTime(); }, 1600))
            << "label " << CString(TimeLabel()).ToAnsi() << ", played "
            << (Panel().decoder ? PlayTime(Panel().decoder) : -1);
    }
    // Pixels of a chart's plot, as the screen shows it, that match.
    int PlotPixels(Cscope& chart, const std::function<bool(COLORREF)>& match)
    {
        UpdateWindow(chart.m_hWnd);
        Pump(60);
        wintest::ScreenCapture shot(chart.m_hWnd);
        const RECT p = chart.plotRect;
        return shot.Count(p.left, p.top, p.right, p.bottom, match);
    }

    std::unique_ptr<fixture::TempTree> tree;
    CTORQUELIANDlg* dlg = nullptr;
};

// Counts the WM_SETTEXT messages an edit receives.
struct TextWrites {
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l)
    {
        TextWrites* self = reinterpret_cast<TextWrites*>(GetPropW(h, L"zarv-test-writes"));
        if (msg == WM_SETTEXT)
            ++self->count;
        return CallWindowProcW(self->old, h, msg, w, l);
    }
    explicit TextWrites(HWND edit) : h(edit)
    {
        SetPropW(h, L"zarv-test-writes", this);
        old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    ~TextWrites()
    {
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropW(h, L"zarv-test-writes");
    }
    HWND h;
    WNDPROC old = nullptr;
    int count = 0;
};

}  // namespace

TEST_F(InfoFramePlaybackTest, PositionSpeedTimeAndChartsOfASouthEasternDrive)
{
    dlg->searchPanel.SetEnglish();
    const size_t blocks = PendingBlockCount();
    Play(Drive(-(22 + 32.5 / 60), 130.0, true));
    std::set<double> expectedMph;
    for (size_t k = 0; k < size_t(kSeconds) * 25; ++k)
        expectedMph.insert(std::floor(SpeedAt(k) * 0.62 + 0.5));

    // Watch the panel while the recording plays to its end.
    bool southEast = false, afterGap = false, outlierShown = false;
    int timeChecks = 0, timeMisses = 0;
    while (Panel().decoder && PlayTime(Panel().decoder) < 9300) {
        Pump(40);
        if (!Panel().decoder)
            break;
        const int ms = PlayTime(Panel().decoder);
        const std::wstring lat = Gps(IDC_GPS_LATITUDE), lon = Gps(IDC_GPS_LONGITUDE);
        if (StartsWith(lat, L"-22.54") && StartsWith(lon, L"130.00"))
            southEast = true;
        // The outlier (4 s in) never reaches the panel; after the gap (6 s
        // in) the panel follows the vehicle there.
        if (StartsWith(lat, L"-22.52") && ms < 5500)
            outlierShown = true;
        if (StartsWith(lat, L"-22.52") && ms > 6200)
            afterGap = true;
        if (ms > 1000) {
            ++timeChecks;
            timeMisses += TimeLabelFollowsThePlayTime() ? 0 : 1;
        }
    }
    EXPECT_TRUE(southEast) << "130°E in the south: " << CString(Gps(IDC_GPS_LONGITUDE)).ToAnsi();
    EXPECT_FALSE(outlierShown);
    EXPECT_TRUE(afterGap) << CString(Gps(IDC_GPS_LATITUDE)).ToAnsi();
    EXPECT_GT(timeChecks, 50);
    EXPECT_LE(timeMisses, timeChecks / 10) << timeMisses << " of " << timeChecks;
    EXPECT_TRUE(StartsWith(TimeLabel(), L"00:0")) << CString(TimeLabel()).ToAnsi();
    EXPECT_NE(TimeLabel().find(L" / 00:10"), std::wstring::npos);
    EXPECT_EQ(Gps(IDC_SPEED_UNIT), L"mph");

    // The speed chart holds the frames' speeds in mph, newest first.
    const Cscope::Curve& speeds = dlg->scopePanel.speedChart.curves[0];
    ASSERT_GT(speeds.size(), 150u);
    std::set<double> seen;
    for (const Cscope::tagDISFORCE& s : speeds) {
        EXPECT_EQ(expectedMph.count(s.y), 1u) << s.y;
        seen.insert(s.y);
    }
    EXPECT_GE(seen.size(), 4u);
    EXPECT_GE(speeds.front().y, speeds.back().y);
    EXPECT_EQ(std::to_wstring(int(speeds.front().y)), Gps(IDC_GPS_SPEED));
    EXPECT_GT(PlotPixels(dlg->scopePanel.speedChart, [](COLORREF c) { return c == RGB(0, 255, 0); }), 150);
    // The acceleration chart took as many samples, |G| x 0.625 (+ 0.2).
    const Cscope::Curve* accel = dlg->scopePanel.accelChart.curves;
    EXPECT_EQ(accel[0].size(), speeds.size());
    EXPECT_DOUBLE_EQ(accel[0].front().y, 5.2);
    EXPECT_DOUBLE_EQ(accel[1].front().y, 7.7);
    EXPECT_DOUBLE_EQ(accel[2].front().y, 2.7);

    // The track on the map, in the first radio's colour (the map starts
    // once per process: with the first main window of the test program).
    ASSERT_NE(Panel().vehicle.track, 0);
    EXPECT_EQ(Panel().vehicle.markerShown, 1);
    RedrawWindow(dlg->mapPane.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(100);
    // The pane as far as it lies on the screen (it reaches past its edge).
    RECT pane;
    GetWindowRect(dlg->mapPane.m_hWnd, &pane);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    wintest::ScreenCapture shot(pane.left, pane.top, (pane.right < screenWidth ? pane.right : screenWidth) - pane.left,
                                pane.bottom - pane.top);
    EXPECT_GT(shot.CountColour(0, 0, shot.Width(), shot.Height(), RGB(255, 0, 0)), 10);

    // To the end: the next group does not exist, the panel stops; every
    // frame's copy was freed.
    ASSERT_TRUE(PumpUntil([&] { return Panel().decoder == nullptr; }, 10000));
    Pump(300);
    EXPECT_EQ(PendingBlockCount(), blocks);
    // The stop took the track off the map and forgot where the vehicle
    // was: the next recording's first fix shows wherever it lies.
    EXPECT_EQ(Panel().vehicle.track, 0);
    EXPECT_FALSE(Panel().vehicle.state.hasShown);
    EXPECT_FALSE(Panel().vehicle.state.hasPrevious);
    EXPECT_EQ(Panel().resyncPosition, 1);
}

TEST_F(InfoFramePlaybackTest, AWesternDriveWithTheLegendAndTheMapSwitched)
{
    dlg->searchPanel.SetSimplifiedChinese();
    g_Settings.gpsFix = 1;
    Play(Drive(-(33 + 30.0 / 60), -(70 + 15.0 / 60), false));
    ASSERT_TRUE(PumpUntil([&] { return StartsWith(Gps(IDC_GPS_LONGITUDE), L"-70.2"); }, 5000))
        << CString(Gps(IDC_GPS_LONGITUDE)).ToAnsi();
    EXPECT_TRUE(StartsWith(Gps(IDC_GPS_LATITUDE), L"-33.50")) << CString(Gps(IDC_GPS_LATITUDE)).ToAnsi();
    EXPECT_EQ(Gps(IDC_SPEED_UNIT), L"km/h");
    Pump(800);
    const int kmh = std::stoi(Gps(IDC_GPS_SPEED));
    EXPECT_GE(kmh, 40);
    EXPECT_LE(kmh, 49);

    // The acceleration chart: its three curves drawn from the frames.
    CScopeMenu& legend = dlg->legendBar;
    SendMessageW(legend.buttons[1].m_hWnd, BM_CLICK, 0, 0);
    Pump(600);
    Cscope& accel = dlg->scopePanel.accelChart;
    EXPECT_TRUE(IsWindowVisible(accel.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(dlg->scopePanel.speedChart.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(legend.GetDlgItem(IDC_LEGEND_X)));
    EXPECT_GT(PlotPixels(accel, [](COLORREF c) { return c == RGB(0, 255, 0); }), 20);
    // The highest curve runs along the plot's green frame, which tints it.
    EXPECT_GT(PlotPixels(accel, [](COLORREF c) { return GetRValue(c) == 255 && GetGValue(c) < 160 && GetBValue(c) == 0; }),
              20);
    EXPECT_GT(PlotPixels(accel, [](COLORREF c) { return c == RGB(255, 255, 0); }), 20);
    SendMessageW(legend.buttons[0].m_hWnd, BM_CLICK, 0, 0);
    Pump(100);
    EXPECT_TRUE(IsWindowVisible(dlg->scopePanel.speedChart.m_hWnd));

    // The map folded away: the time label stays and goes on counting.
    HWND label = Panel().GetDlgItem(IDC_TIME_LABEL);
    dlg->ToggleMap();
    EXPECT_FALSE(IsWindowVisible(dlg->mapPane.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(label));
    const std::wstring before = TimeLabel();
    Pump(1600);
    EXPECT_TRUE(IsWindowVisible(label));
    EXPECT_NE(TimeLabel(), before);
    ExpectTimeLabelFollowsThePlayTime();
    dlg->ToggleMap();
    EXPECT_TRUE(IsWindowVisible(dlg->mapPane.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(label));

    // Playing backwards the label counts down with the play time.
    ASSERT_TRUE(PumpUntil([&] { return PlayTime(Panel().decoder) > 4000; }, 3000));
    Panel().Rewind();
    Pump(400);
    const int forward = PlayTime(Panel().decoder);
    Pump(900);
    ASSERT_NE(Panel().decoder, nullptr);
    EXPECT_LT(PlayTime(Panel().decoder), forward);
    ExpectTimeLabelFollowsThePlayTime();
}

// Three recordings whose drives lie about 70 map pixels apart, opened one
// after the other: the map shows one vehicle (the one the pane owns) that
// heads its recording's track, and a stop takes the track off the map.
TEST_F(InfoFramePlaybackTest, OneVehicleAcrossThreeOpensAtTheHeadOfItsTrack)
{
    using namespace geodraw::palette;
    dlg->searchPanel.SetEnglish();
    const int starts[3] = {83000, 83100, 83200};
    for (int i = 0; i < 3; ++i) {
        const double lon0 = 130.0 + 0.003 * i;
        ASSERT_FALSE(fixture::WritePlayableRecording(tree->Root(), 1, starts[i], kSeconds,
                                                     Drive(-(22 + 32.5 / 60), lon0, false))
                         .empty());
    }
    CCommandLineInfo cmd;
    ParseArguments({CString(tree->Root())}, cmd);
    dlg->ApplyCommandLine(cmd);
    HWND list = dlg->fileList.ListControl();
    ASSERT_TRUE(PumpUntil([&] { return !dlg->fileList.scanBusy && ListView_GetItemCount(list) == 3; }, 20000));

    // The map pane as far as it lies on the screen.
    auto capture = [&] {
        RedrawWindow(dlg->mapPane.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(150);
        RECT pane;
        GetWindowRect(dlg->mapPane.m_hWnd, &pane);
        const int right = std::min<int>(pane.right, GetSystemMetrics(SM_CXSCREEN));
        const int bottom = std::min<int>(pane.bottom, GetSystemMetrics(SM_CYSCREEN));
        return wintest::ScreenCapture(pane.left, pane.top, right - pane.left, bottom - pane.top);
    };
    auto count = [](const wintest::ScreenCapture& shot, COLORREF colour) {
        return shot.CountColour(0, 0, shot.Width(), shot.Height(), colour);
    };

    int firstVehiclePixels = 0;
    INT_PTR firstId = 0;
    for (int i = 0; i < 3; ++i) {
        Panel().currentIndex = i;
        dlg->playbackPage.PlaySelectedFile();
        ASSERT_NE(Panel().decoder, nullptr) << "open " << i;
        ASSERT_TRUE(PumpUntil([&] { return Panel().decoder && PlayTime(Panel().decoder) > 3000; }, 8000));
        Pump(300);
        const wintest::ScreenCapture shot = capture();
        const int vehiclePixels = count(shot, kVehicle);
        if (i == 0) {
            firstVehiclePixels = vehiclePixels;
            firstId = dlg->mapPane.VehicleId();
            ASSERT_GT(firstVehiclePixels, 40) << "the vehicle is on the map";
            ASSERT_NE(firstId, 0);
        } else {
            // Vehicles left behind by earlier opens would add their rims and
            // arrows some 70 px away.
            EXPECT_LT(vehiclePixels, firstVehiclePixels * 6 / 5) << "open " << i;
            EXPECT_EQ(dlg->mapPane.VehicleId(), firstId);
        }
    }

    // Near the end of the third drive: the vehicle's ring sits where the
    // track ends. The drive heads south-east, down and right on the screen:
    // the track comes up to the ring from behind and nothing of it shows
    // ahead of the vehicle.
    ASSERT_TRUE(PumpUntil([&] { return Panel().decoder && PlayTime(Panel().decoder) > 9000; }, 9000));
    Panel().Pause();
    Pump(300);
    const wintest::ScreenCapture shot = capture();
    double ringX = 0, ringY = 0;
    ASSERT_TRUE(shot.Centroid(kSelectedHalo, &ringX, &ringY));
    const POINT ring = {LONG(std::lround(ringX)), LONG(std::lround(ringY))};
    int ahead = INT_MIN, behind = INT_MAX, trackPixels = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            if (shot.Pixel(x, y) != RGB(255, 0, 0))
                continue;
            ++trackPixels;
            const int along = (x - ring.x) + (y - ring.y);  // along the heading, x sqrt(2)
            ahead = std::max(ahead, along);
            behind = std::min(behind, along);
        }
    ASSERT_GT(trackPixels, 30);
    // The ring hides the track's last pixels: it shows from just outside.
    const int hidden = (geodraw::kVehicleHaloRadius + 6) * 3 / 2;
    EXPECT_LE(ahead, 0) << "track ahead of the vehicle";
    EXPECT_GE(ahead, -hidden) << "the track stops short of the vehicle";
    EXPECT_LT(behind, -hidden - 10) << "the track reaches back along the drive";

    // A stop takes the track off the map; the vehicle stays where it was.
    Panel().StopAll();
    Pump(300);
    EXPECT_EQ(Panel().vehicle.track, 0);
    const wintest::ScreenCapture stopped = capture();
    EXPECT_EQ(count(stopped, RGB(255, 0, 0)), 0);
    EXPECT_GT(count(stopped, kVehicle), 40);
}

// The panels move with the pictures at every rate: from a new start (STOP,
// then PLAY) at each fast rate that shows I-frames only, backwards at each
// rate, and after a seek, the frames of the pictures shown reach the GPS
// panel within a second, the speed counting on (or back) with the drive's
// time and the latitude moving.
TEST_F(InfoFramePlaybackTest, FramesReachThePanelAtEveryIFrameRateAndAfterASeek)
{
    dlg->searchPanel.SetSimplifiedChinese();  // km/h: SpeedAt as it stands
    Play(Drive(22.5, 114.0, false), 60);
    auto speed = [&] {
        const std::wstring text = Gps(IDC_GPS_SPEED);
        return text.empty() ? -1 : std::stoi(text);
    };
    // STOP, then PLAY: the group opens anew and plays at 1X from its start,
    // or from `seekMs` where the slider is let go.
    auto restart = [&](int seekMs) {
        Panel().StopAll();
        Pump(100);
        Panel().Play();
        ASSERT_NE(Panel().decoder, nullptr);
        if (seekMs > 0) {
            ASSERT_TRUE(PumpUntil([&] { return Panel().decoder && PlayTime(Panel().decoder) > 300; }, 5000));
            Panel().positionSlider.SetPos(seekMs, true);
            NMHDR release = {Panel().positionSlider.m_hWnd, IDC_POSITION_SLIDER, UINT(NM_RELEASEDCAPTURE)};
            SendMessageW(Panel().m_hWnd, WM_NOTIFY, IDC_POSITION_SLIDER, reinterpret_cast<LPARAM>(&release));
        }
        ASSERT_TRUE(PumpUntil(
            [&] {
                return Panel().decoder && PlayTime(Panel().decoder) > seekMs + 800 &&
                       speed() >= int(SpeedAt(size_t(seekMs / 40)));
            },
            5000));
    };
    // Within a second the panel shows a frame `seconds` of driving on from
    // the picture shown now (back, when negative), at its latitude.
    auto expectFramesWithin1s = [&](int seconds) {
        const int from = PlayTime(Panel().decoder);
        const int want = int(SpeedAt(size_t(from / 40))) + seconds;
        const std::wstring latitude = Gps(IDC_GPS_LATITUDE);
        const DWORD start = GetTickCount();
        const bool came = PumpUntil(
            [&] { return seconds > 0 ? speed() >= want : speed() >= 0 && speed() <= want; }, 1000);
        EXPECT_TRUE(came) << "at " << from << " ms the panel shows " << speed() << " km/h, not "
                          << want << (seconds > 0 ? " or more" : " or less");
        if (came) {
            EXPECT_TRUE(PumpUntil([&] { return Gps(IDC_GPS_LATITUDE) != latitude; }, 1000 - std::min<DWORD>(GetTickCount() - start, 1000)))
                << "the latitude stays at " << CString(latitude).ToAnsi();
        }
    };

    for (int faster = 4; faster <= 8; ++faster) {
        SCOPED_TRACE(testing::Message() << "FASTER x" << faster);
        restart(0);
        for (int k = 0; k < faster; ++k)
            Panel().Faster();
        expectFramesWithin1s(2);
    }
    for (int rewind = 1; rewind <= 5; ++rewind) {
        SCOPED_TRACE(testing::Message() << "REWIND x" << rewind);
        restart(40000);
        for (int k = 0; k < rewind; ++k)
            Panel().Rewind();
        expectFramesWithin1s(-1);
    }
    // A seek at an I-frame rate plays on at 1X from there; FASTER goes back
    // to I-frames.
    SCOPED_TRACE("seek");
    restart(0);
    for (int k = 0; k < 4; ++k)
        Panel().Faster();
    Pump(300);
    Panel().positionSlider.SetPos(30000, true);
    NMHDR release = {Panel().positionSlider.m_hWnd, IDC_POSITION_SLIDER, UINT(NM_RELEASEDCAPTURE)};
    SendMessageW(Panel().m_hWnd, WM_NOTIFY, IDC_POSITION_SLIDER, reinterpret_cast<LPARAM>(&release));
    EXPECT_TRUE(PumpUntil([&] { return speed() >= int(SpeedAt(30 * 25)); }, 1000)) << speed() << " km/h";
    Pump(300);
    for (int k = 0; k < 4; ++k)
        Panel().Faster();
    expectFramesWithin1s(2);
}

// (After the drives: the map starts with the first main window of the
// test program, and the drives look at it.)
// Frames that queue up while the window is busy come together: the newest
// is shown and the others are dropped (the charts skip their samples), so a
// window that fell behind works its queue off at once. Frames with anything
// else of the window's between them each count. The GPS panel writes a text
// only when it changed.
TEST_F(InfoFramePlaybackTest, FramesQueuedTogetherComeTogetherAndOnlyChangesAreWritten)
{
    dlg->searchPanel.SetSimplifiedChinese();   // km/h
    g_Settings.firstInfoSeen = 1;
    const size_t blocks = PendingBlockCount();
    const Cscope::Curve& speeds = dlg->scopePanel.speedChart.curves[0];
    const size_t before = speeds.size();
    auto post = [&](unsigned speed) {
        InfoFields f;
        recwriter::SetLatitude(f, 22.5, 4);
        recwriter::SetLongitude(f, 114.1, 4);
        f.speedKmh = speed;
        std::vector<uint8_t> block = recwriter::InfoBlock(f, 48);
        InfoFrameCallback(block.data(), 48, 0, 0, &Panel().reports);
    };
    for (unsigned speed : {30u, 31u, 32u})
        post(speed);
    Pump(300);
    EXPECT_EQ(Gps(IDC_GPS_SPEED), L"32");
    EXPECT_EQ(speeds.size(), before + 1);
    EXPECT_EQ(speeds.front().y, 32);
    EXPECT_EQ(PendingBlockCount(), blocks);

    post(33);
    PostMessageW(Panel().m_hWnd, WM_NULL, 0, 0);
    post(34);
    Pump(300);
    EXPECT_EQ(speeds.size(), before + 3);
    EXPECT_EQ(Gps(IDC_GPS_SPEED), L"34");
    EXPECT_TRUE(StartsWith(Gps(IDC_GPS_LATITUDE), L"22.5")) << CString(Gps(IDC_GPS_LATITUDE)).ToAnsi();

    // The same values again: nothing is written; a new speed: its edit only.
    TextWrites speedWrites(dlg->gpsPanel.GetDlgItem(IDC_GPS_SPEED));
    TextWrites latitudeWrites(dlg->gpsPanel.GetDlgItem(IDC_GPS_LATITUDE));
    for (int k = 0; k < 3; ++k) {
        post(34);
        Pump(150);
    }
    EXPECT_EQ(speedWrites.count, 0);
    EXPECT_EQ(latitudeWrites.count, 0);
    post(35);
    Pump(150);
    EXPECT_EQ(speedWrites.count, 1);
    EXPECT_EQ(latitudeWrites.count, 0);
    EXPECT_EQ(Gps(IDC_GPS_SPEED), L"35");
}
