// The control bar of the real program's main window with the engine DLL
// playing recordings of four channels, as a user sees it: the buttons and
// their pictures, the rate label through every fast step, pause and stop;
// a snapshot of the four panes into BMP files (checked afterwards by the
// host's ImageMagick, see CMakeLists.txt) and its one notice; a snapshot
// of a channel that has shown no picture; a clicked pane framed red and
// the AVI button opening the AVI dialog on that pane's recording; the
// About boxes.
#include "app/MainDialog.h"
#include "testing/MainDialogFixture.h"

#include "playback/AboutDlg.h"
#include "AppSettings.h"
#include "playback/ControlBarLayout.h"
#include "DemoCard.h"
#include "H264Stream.h"
#include "LanguageHolder.h"
#include "testing/PlaybackRecordings.h"
#include "RecordWriter.h"
#include "testing/RecordingTree.h"
#include "StringIds.h"
#include "WinApp.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

using wintest::Pump;
using wintest::PumpUntil;

namespace {

const int kSeconds = 10;
const int kStart = 83000;

std::string Ansi(const std::wstring& s)
{
    return CString(s).ToAnsi();
}

std::wstring Text(HWND window)
{
    return CString::WindowText(window);
}

bool ShowsColour(HWND window, COLORREF colour)
{
    RECT rc;
    GetClientRect(window, &rc);
    return wintest::Near(wintest::ClientPixel(window, rc.right / 2, rc.bottom / 2), colour, 70);
}

// A click of the real mouse at the middle of a window.
void ClickMiddle(HWND window)
{
    RECT rc;
    GetClientRect(window, &rc);
    SetForegroundWindow(GetAncestor(window, GA_ROOT));
    wintest::MouseToClient(window, POINT{rc.right / 2, rc.bottom / 2}, 50);
    wintest::MouseButton(true, 20);
    wintest::MouseButton(false, 100);
}

// A recording of channel 1 whose pictures no decoder can read: every
// frame keeps its start code and unit header, the rest is filler. The
// engine never has a picture of it.
std::wstring WriteUndecodableRecording(const std::wstring& folder)
{
    std::vector<uint8_t> stream;
    if (!recwriter::ReadBytes("playback_ch1.h264", &stream))
        return std::wstring();
    std::vector<recwriter::H264Frame> frames = recwriter::SplitAnnexB(stream);
    frames.resize(size_t(kSeconds) * 25);
    for (recwriter::H264Frame& f : frames) {
        // Past every start code and its unit header byte.
        for (size_t i = 0; i + 4 < f.bytes.size(); ++i)
            if (f.bytes[i] == 0 && f.bytes[i + 1] == 0 && f.bytes[i + 2] == 1) {
                for (size_t j = i + 4; j < f.bytes.size() && !(f.bytes[j] == 0 && f.bytes[j + 1] == 0); ++j)
                    f.bytes[j] = 0x55;
                i += 3;
            }
    }
    recwriter::DemoRecording r;
    r.channel = 1;
    r.startHms = kStart;
    r.seconds = kSeconds;
    const std::string name = recwriter::RecordFileName(1, kStart, recwriter::AddSecondsHms(kStart, kSeconds));
    const std::wstring path = folder + L"\\" + std::wstring(name.begin(), name.end());
    if (!recwriter::WriteBytes(Ansi(path), recwriter::BuildDemoRecording(r, frames)))
        return std::wstring();
    return path;
}

// Found by the AVI dialog's watcher while the dialog runs modally.
std::wstring g_aviSource;
int g_aviSeen = 0;

BOOL CALLBACK CloseAviDialog(HWND h, LPARAM)
{
    if (IsWindowVisible(h) && GetDlgItem(h, IDC_AVI_START) && GetDlgItem(h, IDC_AVI_CUT_START)) {
        g_aviSource = Text(GetDlgItem(h, IDC_AVI_SOURCE_PATH));
        ++g_aviSeen;
        PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(h, WM_CLOSE, 0, 0);
        return FALSE;
    }
    return TRUE;
}

void CALLBACK WatchForAviDialog(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CloseAviDialog, 0);
}

class ControlBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree = std::make_unique<fixture::TempTree>(L"control-bar");
        dlg = OpenMainDialog();
        ASSERT_NE(dlg, nullptr);
        SetWindowPos(dlg->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Pump(700);
        dlg->searchPanel.SetEnglish();
    }
    void TearDown() override
    {
        CloseMainDialog(dlg);
        dlg = nullptr;
    }
    // Lists the tree and plays its first record with its group.
    void PlayTree(int rows)
    {
        CCommandLineInfo cmd;
        ParseArguments({CString(tree->Root())}, cmd);
        dlg->ApplyCommandLine(cmd);
        HWND list = dlg->fileList.ListControl();
        ASSERT_TRUE(PumpUntil([&] { return !dlg->fileList.scanBusy && ListView_GetItemCount(list) == rows; }, 20000));
        Panel().currentIndex = 0;
        dlg->playbackPage.PlaySelectedFile();
        ASSERT_NE(Panel().decoder, nullptr);
    }
    void PlayFourChannels()
    {
        for (int channel = 1; channel <= 4; ++channel)
            ASSERT_FALSE(fixture::WritePlayableRecording(tree->Root(), channel, kStart, kSeconds).empty())
                << "the playback streams are built beside the test";
        PlayTree(4);
        EXPECT_TRUE(PumpUntil(
            [&] {
                for (int k = 0; k < 4; ++k)
                    if (!ShowsColour(Page().panes[k].VideoWindow(), fixture::ChannelColour(k + 1)))
                        return false;
                return true;
            },
            5000))
            << "each pane shows its channel's picture";
    }
    CDlgPlayBack& Page() { return dlg->playbackPage; }
    CDlgPlayBkCtrl& Panel() { return dlg->playbackPage.controlPanel; }
    HWND Item(int id) { return Panel().GetDlgItem(id); }
    std::wstring Rate() { return Text(Item(IDC_RATE_LABEL)); }
    void Click(int id)
    {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
        Pump(30);
    }
    // The notice's lines.
    std::vector<std::wstring> NoticeLines()
    {
        std::wstring text = Text(GetDlgItem(Panel().notice.m_hWnd, IDC_NOTICE_TEXT));
        std::vector<std::wstring> lines;
        size_t from = 0;
        while (from <= text.size()) {
            const size_t end = text.find(L"\r\n", from);
            lines.push_back(text.substr(from, end == std::wstring::npos ? std::wstring::npos : end - from));
            if (end == std::wstring::npos)
                break;
            from = end + 2;
        }
        return lines;
    }

    std::unique_ptr<fixture::TempTree> tree;
    CTORQUELIANDlg* dlg = nullptr;
};

}  // namespace

TEST_F(ControlBarTest, TheBarFitsItsWidthAndItsButtonsDrivePlayback)
{
    PlayFourChannels();
    // The bar as laid out: the shown controls of its strip overlap nowhere
    // and the time label's text fits in its font.
    RECT bar;
    GetClientRect(Panel().m_hWnd, &bar);
    const BarLayout layout = ComputeBarLayout(bar);
    std::vector<std::pair<int, RECT>> shown;
    for (const BarItem& item : layout.items) {
        HWND control = Item(item.id);
        ASSERT_NE(control, nullptr) << item.id;
        EXPECT_EQ(IsWindowVisible(control) != 0, item.shown) << item.id;
        if (!item.shown || item.rect.top > 50)
            continue;
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, Panel().m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        for (const auto& other : shown) {
            RECT both;
            EXPECT_FALSE(other.first != IDC_POSITION_SLIDER && item.id != IDC_POSITION_SLIDER &&
                         IntersectRect(&both, &r, &other.second))
                << item.id << " and " << other.first << " at width " << bar.right;
        }
        shown.push_back({item.id, r});
    }
    {
        HWND time = Item(IDC_TIME_LABEL);
        HDC dc = GetDC(time);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(time, WM_GETFONT, 0, 0)));
        SIZE size = {};
        GetTextExtentPoint32W(dc, L"00:00 / 00:00", 13, &size);
        SelectObject(dc, old);
        ReleaseDC(time, dc);
        EXPECT_LE(size.cx, kTimeLabelWidth);
        EXPECT_GT(size.cx, 60) << "the label's own font, 20 high";
    }
    // The Play button shows its green triangle; its red ground is keyed out.
    wintest::ScreenCapture play(Item(IDC_PLAY));
    EXPECT_GT(play.Count(0, 0, play.Width(), play.Height(),
                         [](COLORREF c) { return wintest::Near(c, RGB(0x1f, 0x7a, 0x3a), 40); }),
              20);
    EXPECT_EQ(play.CountColour(0, 0, play.Width(), play.Height(), RGB(255, 0, 0)), 0);

    // Faster eight times, and no further: the label tells the speed the
    // pictures move at, 25 pictures a second here.
    const wchar_t* steps[] = {L"1.3X", L"1.8X", L"3.1X", L"4X", L"8X", L"16X", L"32X", L"64X", L"64X"};
    for (const wchar_t* step : steps) {
        Click(IDC_FASTER);
        EXPECT_EQ(Rate(), step);
    }
    Click(IDC_PAUSE);
    EXPECT_EQ(Rate(), L"PAUSE");
    int before = 0, after = 0;
    OV_GetPlayTime(Panel().decoder, &before);
    Pump(600);
    OV_GetPlayTime(Panel().decoder, &after);
    EXPECT_LE(after - before, 80) << "paused";
    Click(IDC_PLAY);
    EXPECT_EQ(Rate(), L"1X");
    Click(IDC_SLOWER);
    EXPECT_EQ(Rate(), L"1/2X");
    Click(IDC_STOP);
    EXPECT_EQ(Rate(), L"STOP");
    EXPECT_EQ(Panel().decoder, nullptr);
}

TEST_F(ControlBarTest, ASnapshotWritesEveryPanesPictureAndOneNoticeListsThem)
{
    for (int k = 1; k <= 4; ++k)
        DeleteFileW((L"control_bar\\snapshot_ch" + std::to_wstring(k) + L".bmp").c_str());
    PlayFourChannels();
    Pump(500);
    // The bar's snapshot label, clicked as a user does.
    HWND snapshot = Item(IDC_SNAPSHOT);
    ASSERT_TRUE(IsWindowVisible(snapshot));
    ClickMiddle(snapshot);
    HWND notice = Panel().notice.m_hWnd;
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(notice) != 0; }, 3000));
    EXPECT_EQ(Text(notice), L"Notice");
    EXPECT_EQ(Text(GetDlgItem(notice, IDOK)), L"Open Folder");
    const std::vector<std::wstring> lines = NoticeLines();
    ASSERT_EQ(lines.size(), 4u);
    // Kept for the host's check of the files (CMakeLists.txt).
    CreateDirectoryW(L"control_bar", nullptr);
    for (int k = 0; k < 4; ++k) {
        const std::wstring& line = lines[size_t(k)];
        const size_t end = line.find(L".bmp saved OK.");
        ASSERT_NE(end, std::wstring::npos) << Ansi(line);
        const std::wstring file = line.substr(0, end + 4);
        EXPECT_EQ(file.rfind(tree->Root(), 0), 0u) << Ansi(file);
        WIN32_FILE_ATTRIBUTE_DATA attr = {};
        ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &attr)) << Ansi(file);
        EXPECT_GT(attr.nFileSizeLow, 176u * 144u * 3u);
        const std::wstring kept = L"control_bar\\snapshot_ch" + std::to_wstring(k + 1) + L".bmp";
        EXPECT_TRUE(CopyFileW(file.c_str(), kept.c_str(), FALSE));
    }
    // A second snapshot gets names of its own, also within the same second.
    Panel().CaptureSnapshot();
    const std::vector<std::wstring> again = NoticeLines();
    ASSERT_EQ(again.size(), 4u);
    for (size_t k = 0; k < 4; ++k)
        EXPECT_NE(again[k], lines[k]);
}

TEST_F(ControlBarTest, ASnapshotOfAChannelWithoutAPictureSaysItFailed)
{
    ASSERT_FALSE(WriteUndecodableRecording(tree->Root()).empty()) << "the playback streams are built beside the test";
    PlayTree(1);
    Pump(1000);
    Panel().CaptureSnapshot();
    HWND notice = Panel().notice.m_hWnd;
    ASSERT_TRUE(IsWindowVisible(notice));
    const std::vector<std::wstring> lines = NoticeLines();
    ASSERT_EQ(lines.size(), 1u);
    const std::wstring failed = Panel().notice.language->Text(IDS_SNAPSHOT_FAILED);
    const size_t at = lines[0].find(L".bmp " + failed);
    ASSERT_NE(at, std::wstring::npos) << Ansi(lines[0]);
    EXPECT_EQ(GetFileAttributesW(lines[0].substr(0, at + 4).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(Panel().notice.folders.empty());
}

TEST_F(ControlBarTest, AClickedPaneIsFramedRedAndTheAviButtonOpensItsRecording)
{
    PlayFourChannels();
    CDlgPlayBack& page = Page();
    ClickMiddle(page.panes[2].VideoWindow());
    ASSERT_TRUE(PumpUntil([&] { return page.selectedPane == 2; }, 2000));
    Pump(200);
    wintest::ScreenCapture third(page.panes[2].m_hWnd), first(page.panes[0].m_hWnd);
    // The frame along the left edge, below the corner.
    for (int y = 4; y < third.Height() - 4; y += 7) {
        EXPECT_TRUE(wintest::Near(third.Pixel(0, y), RGB(255, 0, 0), 10)) << y;
        EXPECT_TRUE(wintest::Near(first.Pixel(0, y), RGB(0, 0, 255), 10)) << y;
    }

    g_aviSeen = 0;
    g_aviSource.clear();
    const UINT_PTR watch = SetTimer(nullptr, 0, 200, WatchForAviDialog);
    PostMessageW(Panel().m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_CUT_AVI, STN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(IDC_CUT_AVI)));
    PumpUntil([&] { return g_aviSeen > 0; }, 5000);
    KillTimer(nullptr, watch);
    ASSERT_EQ(g_aviSeen, 1);
    EXPECT_EQ(g_aviSource, Panel().channelPath[2]);
}

TEST_F(ControlBarTest, TheAboutBoxes)
{
    // The GPS panel's: 240 x 126 in the middle of the main window, its OK
    // button in the lower right corner.
    CDlgAbout about;
    ASSERT_TRUE(about.Create(dlg));
    RECT main, box, client, ok;
    GetClientRect(dlg->m_hWnd, &main);
    GetWindowRect(about.m_hWnd, &box);
    EXPECT_EQ(box.left, main.right / 2 - 120);
    EXPECT_EQ(box.top, main.bottom / 2 - 63);
    EXPECT_EQ(box.right - box.left, 240);
    EXPECT_EQ(box.bottom - box.top, 126);
    GetClientRect(about.m_hWnd, &client);
    GetWindowRect(about.GetDlgItem(IDOK), &ok);
    MapWindowPoints(nullptr, about.m_hWnd, reinterpret_cast<POINT*>(&ok), 2);
    EXPECT_EQ(ok.left, client.right - 75);
    EXPECT_EQ(ok.top, client.bottom - 23);
    EXPECT_EQ(ok.right - ok.left, 72);
    EXPECT_EQ(Text(about.m_hWnd), L"About Zarv Player");
    EXPECT_EQ(Text(about.GetDlgItem(IDC_ABOUT_VERSION)), L"Zarv Player, Version 2.40");
    // The text fits the box as a user sees it.
    RECT version;
    GetWindowRect(about.GetDlgItem(IDC_ABOUT_VERSION), &version);
    EXPECT_LE(version.right, box.right);
    about.DestroyWindow();

    // The system menu's keeps the template's layout.
    CAboutDlg system;
    ASSERT_TRUE(system.Create(dlg));
    GetWindowRect(system.m_hWnd, &box);
    EXPECT_NE(box.right - box.left, 240);
    EXPECT_EQ(Text(system.GetDlgItem(IDC_ABOUT_NOTICE)).empty(), false);
    system.DestroyWindow();
}

TEST_F(ControlBarTest, FullScreenAndTheSidePanelsComeAndGo)
{
    CDlgPlayBack& page = Page();
    WINDOWPLACEMENT before = {};
    before.length = sizeof before;
    GetWindowPlacement(page.m_hWnd, &before);

    // The side panels hidden: the page takes their room, from a fifth of
    // the main window's width on.
    Click(IDC_SIDE_PANELS);
    Pump(100);
    RECT main;
    GetClientRect(dlg->m_hWnd, &main);
    WINDOWPLACEMENT now = {};
    now.length = sizeof now;
    GetWindowPlacement(page.m_hWnd, &now);
    EXPECT_EQ(now.rcNormalPosition.left, main.right * 20 / 100 + 7);
    EXPECT_EQ(now.rcNormalPosition.bottom, main.bottom);
    EXPECT_FALSE(IsWindowVisible(dlg->scopePanel.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(dlg->gpsPanel.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(dlg->mapPane.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(dlg->fileList.m_hWnd));
    Click(IDC_SIDE_PANELS);
    Pump(100);
    GetWindowPlacement(page.m_hWnd, &now);
    EXPECT_TRUE(EqualRect(&now.rcNormalPosition, &before.rcNormalPosition));
    EXPECT_TRUE(IsWindowVisible(dlg->scopePanel.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(dlg->gpsPanel.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(dlg->mapPane.m_hWnd));

    // Full screen: only the page is left; Esc in the bar brings all back.
    Click(IDC_FULL_SCREEN);
    Pump(100);
    EXPECT_EQ(page.fullScreen, 1);
    EXPECT_FALSE(IsWindowVisible(dlg->searchPanel.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(dlg->fileList.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(dlg->scopePanel.m_hWnd));
    RECT pageRect;
    GetWindowRect(page.m_hWnd, &pageRect);
    EXPECT_GT(pageRect.right - pageRect.left, main.right - main.right / 5);
    PostMessageW(Panel().m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(150);
    EXPECT_EQ(page.fullScreen, 0);
    EXPECT_TRUE(IsWindowVisible(dlg->searchPanel.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(dlg->fileList.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(dlg->scopePanel.m_hWnd));
    GetWindowPlacement(page.m_hWnd, &now);
    EXPECT_TRUE(EqualRect(&now.rcNormalPosition, &before.rcNormalPosition));
    // Esc outside full screen does nothing.
    PostMessageW(Panel().m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(150);
    EXPECT_TRUE(IsWindowVisible(dlg->fileList.m_hWnd));
    EXPECT_EQ(page.fullScreen, 0);
}
