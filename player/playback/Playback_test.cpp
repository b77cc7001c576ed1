// The player plays recordings through the engine DLL, as a user sees it:
// the recording list of a folder of two four-channel groups, a double-click
// on channel 2's row, the four panes read back from the screen, the rate
// and pause keys, the next group opening by itself, STOP; and the program
// itself closed while it plays.
#include "app/MainDialog.h"
#include "testing/MainDialogFixture.h"

#include "AppSettings.h"
#include "InfoFields.h"
#include "testing/PlaybackRecordings.h"
#include "PostedBlock.h"
#include "testing/RecordingTree.h"
#include "VideoStatic.h"
#include "WinApp.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using wintest::Pump;
using wintest::PumpUntil;

namespace {

const int kGroupSeconds = 10;
const int kGroupStarts[2] = {83000, 83020};  // 15 s or more apart: not sorted together

// Two groups of channels 1-4 in one folder.
std::vector<std::wstring> WriteTwoGroups(const std::wstring& folder)
{
    std::vector<std::wstring> paths;
    for (int start : kGroupStarts)
        for (int channel = 1; channel <= 4; ++channel)
            paths.push_back(fixture::WritePlayableRecording(folder, channel, start, kGroupSeconds));
    return paths;
}

std::vector<std::wstring> WriteTwoGroups(const fixture::TempTree& tree)
{
    return WriteTwoGroups(tree.Root());
}

bool ShowsColour(HWND window, COLORREF colour)
{
    RECT rc;
    GetClientRect(window, &rc);
    return wintest::Near(wintest::ClientPixel(window, rc.right / 2, rc.bottom / 2), colour, 70);
}

// A double-click of the mouse on a row of the list, through the system's
// input (both clicks in one go, so that a busy machine cannot split them).
void DoubleClickRow(HWND list, int row)
{
    RECT r = {};
    r.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    POINT at = {r.left + 10, (r.top + r.bottom) / 2};
    ClientToScreen(list, &at);
    SetForegroundWindow(GetAncestor(list, GA_ROOT));
    SetCursorPos(at.x, at.y);
    Pump(50);
    INPUT in[4] = {};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_MOUSE;
        in[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    SendInput(4, in, sizeof(INPUT));
}

// What the panes show, for a failure's message; the screen is saved too.
std::string PaneColours(CDlgPlayBack& page)
{
    std::string text;
    char one[48];
    for (int k = 0; k < 4; ++k) {
        wintest::ScreenCapture shot(page.panes[k].VideoWindow());
        std::snprintf(one, sizeof one, " pane %d: %06lx", k,
                      static_cast<unsigned long>(shot.Pixel(shot.Width() / 2, shot.Height() / 2)));
        text += one;
    }
    wintest::ScreenCapture(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))
        .SaveBmp("player_playback_failure.bmp");
    return text;
}

int PlayTime(void* decoder)
{
    int ms = 0;
    OV_GetPlayTime(decoder, &ms);
    return ms;
}

// Media milliseconds per wall millisecond over `ms` of pumping.
double MeasuredRate(void* decoder, DWORD ms)
{
    const int t0 = PlayTime(decoder);
    const DWORD w0 = GetTickCount();
    Pump(ms);
    return double(PlayTime(decoder) - t0) / double(GetTickCount() - w0);
}

void Key(HWND window, WPARAM key)
{
    PostMessageW(window, WM_KEYDOWN, key, 0);
    Pump(50);
}

class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree = std::make_unique<fixture::TempTree>(L"playback");
        folder = FolderName().empty() ? tree->Root() : tree->Folder(FolderName());
        paths = WriteGroups(folder);
        for (const std::wstring& p : paths)
            ASSERT_FALSE(p.empty()) << "the playback streams are built beside the test";
        dlg = OpenMainDialog();
        ASSERT_NE(dlg, nullptr);
        // Above the windows of the tests that run beside this one.
        SetWindowPos(dlg->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Pump(700);
        dlg->searchPanel.SetEnglish();
        CCommandLineInfo cmd;
        ParseArguments({CString(folder)}, cmd);
        dlg->ApplyCommandLine(cmd);
        list = dlg->fileList.ListControl();
        ASSERT_TRUE(PumpUntil(
            [&] { return !dlg->fileList.scanBusy && ListView_GetItemCount(list) == int(paths.size()); }, 20000));
    }
    void TearDown() override
    {
        CloseMainDialog(dlg);
        dlg = nullptr;
    }

    // The recordings' folder under the temporary tree; its root when empty.
    virtual std::wstring FolderName() const { return L""; }
    // The recordings the test plays.
    virtual std::vector<std::wstring> WriteGroups(const std::wstring& in) { return WriteTwoGroups(in); }

    std::unique_ptr<fixture::TempTree> tree;
    std::wstring folder;
    std::vector<std::wstring> paths;
    CTORQUELIANDlg* dlg = nullptr;
    HWND list = nullptr;
};

}  // namespace

TEST_F(PlaybackTest, ADoubleClickedRowPlaysItsGroupUntilStop)
{
    CDlgPlayBack& page = dlg->playbackPage;
    CDlgPlayBkCtrl& panel = page.controlPanel;
    const size_t blocksBefore = PendingBlockCount();

    // Channel 2 of the first group is the second row.
    DoubleClickRow(list, 1);
    ASSERT_TRUE(PumpUntil([&] { return panel.decoder != nullptr; }, 5000));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(panel.channelPath[k], paths[size_t(k)]) << k;
    auto fourPictures = [&] {
        for (int k = 0; k < 4; ++k)
            if (!ShowsColour(page.panes[k].VideoWindow(), fixture::ChannelColour(k + 1)))
                return false;
        return true;
    };
    EXPECT_TRUE(PumpUntil(fourPictures, 5000)) << "each pane shows its channel's picture:" << PaneColours(page);
    // The selected pane (the first) is framed red, the others blue.
    EXPECT_TRUE(wintest::Near(wintest::ClientPixel(page.panes[0].m_hWnd, 0, 5), RGB(255, 0, 0), 10));
    EXPECT_TRUE(wintest::Near(wintest::ClientPixel(page.panes[1].m_hWnd, 0, 5), RGB(0, 0, 255), 10));

    // The slider spans the group, in milliseconds: its 10 s.
    EXPECT_EQ(panel.positionSlider.RangeMax(), 10000);
    EXPECT_GT(panel.fileInfo.durationMs, 9000u);
    EXPECT_LE(panel.fileInfo.durationMs, 10000u);

    // Right: faster. The engine's first fast step takes a frame every
    // 31 ms in place of 40, and the label says so: 1.3X. Loosely: the
    // machine is shared.
    const HWND keys = panel.m_hWnd;
    const double normal = MeasuredRate(panel.decoder, 1200);
    Key(keys, VK_RIGHT);
    EXPECT_EQ(CString::WindowText(panel.GetDlgItem(IDC_RATE_LABEL)), L"1.3X");
    Pump(300);
    const double fast = MeasuredRate(panel.decoder, 1500);
    EXPECT_GT(normal, 0.5);
    EXPECT_GT(fast, 1.15 * normal) << "normal " << normal << ", fast " << fast;

    // Space pauses, Space plays on at normal speed.
    Key(keys, VK_SPACE);
    EXPECT_EQ(CString::WindowText(panel.GetDlgItem(IDC_RATE_LABEL)), L"PAUSE");
    Pump(200);
    const int pausedAt = PlayTime(panel.decoder);
    Pump(800);
    EXPECT_LE(PlayTime(panel.decoder) - pausedAt, 80);
    Key(keys, VK_SPACE);
    EXPECT_EQ(CString::WindowText(panel.GetDlgItem(IDC_RATE_LABEL)), L"1X");

    // At the end of the group the next one opens by itself.
    ASSERT_TRUE(PumpUntil([&] { return panel.channelPath[0] == paths[4]; }, 20000));
    EXPECT_TRUE(PumpUntil(fourPictures, 5000)) << PaneColours(page);

    // STOP: after two seconds nothing plays and no report is left over.
    SendMessageW(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_STOP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(panel.GetDlgItem(IDC_STOP)));
    Pump(2000);
    EXPECT_EQ(panel.decoder, nullptr);
    EXPECT_EQ(PendingBlockCount(), blocksBefore);
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(panel.channelPath[k].empty());
        EXPECT_TRUE(ShowsColour(page.panes[k].VideoWindow(), VideoBackground(g_Settings.bkColor)))
            << k << PaneColours(page);
    }
    EXPECT_EQ(CString::WindowText(panel.GetDlgItem(IDC_RATE_LABEL)), L"STOP");
}

void Click(CDlgPlayBkCtrl& panel, int id)
{
    SendMessageW(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(panel.GetDlgItem(id)));
}

std::wstring RateLabel(CDlgPlayBkCtrl& panel)
{
    return CString::WindowText(panel.GetDlgItem(IDC_RATE_LABEL));
}

TEST_F(PlaybackTest, ReversePlayStopsPausedAtTheStartOfTheGroupAndPlayGoesOnForwards)
{
    CDlgPlayBack& page = dlg->playbackPage;
    CDlgPlayBkCtrl& panel = page.controlPanel;
    DoubleClickRow(list, 0);
    ASSERT_TRUE(PumpUntil([&] { return panel.decoder != nullptr && PlayTime(panel.decoder) > 2500; }, 10000));

    // -2X from about 2.5 s: the start is reached within two seconds.
    Click(panel, IDC_REWIND);
    EXPECT_EQ(RateLabel(panel), L"-2X");
    EXPECT_TRUE(PumpUntil([&] { return RateLabel(panel) == L"PAUSE"; }, 8000)) << "label " << CString(RateLabel(panel)).ToAnsi();
    // Held there: the same group, its first pictures, and no move for good.
    Pump(2500);
    EXPECT_EQ(RateLabel(panel), L"PAUSE");
    ASSERT_NE(panel.decoder, nullptr);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(panel.channelPath[k], paths[size_t(k)]) << k;
    const int held = PlayTime(panel.decoder);
    EXPECT_LT(held, 300);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(ShowsColour(page.panes[k].VideoWindow(), fixture::ChannelColour(k + 1))) << k << PaneColours(page);
    Pump(800);
    EXPECT_LE(PlayTime(panel.decoder) - held, 80);
    wintest::ScreenCapture(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))
        .SaveBmp("player_reverse_at_start.bmp");

    // PLAY: forwards at 1X from there.
    Click(panel, IDC_PLAY);
    EXPECT_EQ(RateLabel(panel), L"1X");
    EXPECT_TRUE(PumpUntil([&] { return PlayTime(panel.decoder) > held + 1500; }, 5000))
        << "from " << held << " to " << PlayTime(panel.decoder);
    EXPECT_EQ(panel.channelPath[0], paths[0]);
}

// The records of the list's selected rows, by path.
std::vector<std::wstring> HighlightedPaths(CTORQUELIANDlg& dlg)
{
    std::vector<std::wstring> paths;
    HWND list = dlg.fileList.ListControl();
    const int rows = ListView_GetItemCount(list);
    const std::vector<FileRecord>& shown = dlg.fileList.ShownRecords();
    for (int row = 0; row < rows; ++row) {
        if (!(ListView_GetItemState(list, row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        paths.push_back(size_t(item.lParam) < shown.size() ? shown[size_t(item.lParam)].path : L"?");
    }
    return paths;
}

// The rows drawn in the selection's colour, from the screen.
std::vector<int> RowsDrawnMarked(HWND list)
{
    std::vector<int> rows;
    UpdateWindow(list);
    wintest::ScreenCapture shot(list);
    const COLORREF marked = GetSysColor(COLOR_HIGHLIGHT);
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        const RECT r = wintest::ShownRowCells(list, row);
        const int count = shot.Count(r.left, r.top, r.right, r.bottom,
                                     [marked](COLORREF c) { return wintest::Near(c, marked, 24); });
        if (count > (r.right - r.left) * (r.bottom - r.top) / 2)
            rows.push_back(row);
    }
    return rows;
}

std::string ClassAndId(HWND window)
{
    char cls[64] = {};
    GetClassNameA(window, cls, 64);
    return std::string(" focus: ") + cls + " " + std::to_string(GetDlgCtrlID(window));
}

std::string Names(const std::vector<std::wstring>& paths)
{
    std::string text;
    for (const std::wstring& p : paths)
        text += " " + CString(p.substr(p.find_last_of(L'\\') + 1)).ToAnsi();
    return text;
}

TEST_F(PlaybackTest, TheHighlightedRowsAreThoseOfThePlayingGroupWhateverRefillsTheList)
{
    CDlgPlayBack& page = dlg->playbackPage;
    CDlgPlayBkCtrl& panel = page.controlPanel;
    const std::vector<std::wstring> first(paths.begin(), paths.begin() + 4);
    const std::vector<std::wstring> none;
    DoubleClickRow(list, 0);
    ASSERT_TRUE(PumpUntil([&] { return panel.decoder != nullptr; }, 5000));
    Pump(300);
    EXPECT_EQ(HighlightedPaths(*dlg), first) << Names(HighlightedPaths(*dlg));

    // The path box keeps the keyboard focus whatever the list shows.
    HWND pathBox = dlg->searchPanel.GetDlgItem(IDC_PATH_EDIT);
    SetFocus(pathBox);
    Pump(100);
    ASSERT_EQ(GetFocus(), pathBox) << ClassAndId(GetFocus());
    const struct {
        const char* what;
        std::function<void()> act;
    } refills[] = {
        {"side panels hidden", [&] { panel.ToggleSidePanels(); }},
        {"side panels back", [&] { panel.ToggleSidePanels(); }},
        {"main window smaller", [&] { SetWindowPos(dlg->m_hWnd, nullptr, 0, 0, 1100, 700, SWP_NOMOVE | SWP_NOZORDER); }},
        {"main window small", [&] { SetWindowPos(dlg->m_hWnd, nullptr, 0, 0, 900, 420, SWP_NOMOVE | SWP_NOZORDER); }},
        {"main window larger", [&] { SetWindowPos(dlg->m_hWnd, nullptr, 0, 0, 1280, 1000, SWP_NOMOVE | SWP_NOZORDER); }},
        {"first page", [&] { dlg->fileList.ShowPage(1); }},
        {"Chinese", [&] { dlg->searchPanel.SetSimplifiedChinese(); }},
        {"English", [&] { dlg->searchPanel.SetEnglish(); }},
    };
    for (const auto& r : refills) {
        r.act();
        Pump(400);
        EXPECT_EQ(HighlightedPaths(*dlg), first) << r.what << ":" << Names(HighlightedPaths(*dlg));
        EXPECT_EQ(GetFocus(), pathBox) << r.what << ClassAndId(GetFocus());
        // Drawn as marked without the focus; the other group's rows plain.
        EXPECT_EQ(RowsDrawnMarked(list), (std::vector<int>{0, 1, 2, 3})) << r.what;
        if (std::string(r.what) == "side panels hidden")
            wintest::ScreenCapture(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))
                .SaveBmp("player_rows_side_panels.bmp");
    }

    // A rescan finds the same files again, in the same rows.
    dlg->fileList.SearchRootAgain();
    ASSERT_TRUE(PumpUntil([&] { return !dlg->fileList.scanBusy && ListView_GetItemCount(list) == 8; }, 20000));
    Pump(200);
    EXPECT_EQ(HighlightedPaths(*dlg), first) << "rescan:" << Names(HighlightedPaths(*dlg));

    // The next group: its rows alone.
    Click(panel, IDC_NEXT_FILE);
    ASSERT_TRUE(PumpUntil([&] { return panel.channelPath[0] == paths[4]; }, 5000));
    Pump(300);
    EXPECT_EQ(HighlightedPaths(*dlg), std::vector<std::wstring>(paths.begin() + 4, paths.end()))
        << Names(HighlightedPaths(*dlg));

    // STOP: none.
    Click(panel, IDC_STOP);
    Pump(300);
    EXPECT_EQ(HighlightedPaths(*dlg), none) << "stopped:" << Names(HighlightedPaths(*dlg));
    EXPECT_EQ(RowsDrawnMarked(list), std::vector<int>{});
}

// The recordings in a folder whose name the ANSI code page cannot spell
// (Cyrillic and CJK letters): the engine gets its short name.
class NonAnsiFolderPlaybackTest : public PlaybackTest {
protected:
    std::wstring FolderName() const override { return L"\u0417\u0430\u043f\u0438\u0441\u0438 \u5f55\u50cf"; }
};

std::vector<std::wstring> BmpFilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*.bmp").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(fd.cFileName);
    while (FindNextFileW(find, &fd));
    FindClose(find);
    return names;
}

TEST_F(NonAnsiFolderPlaybackTest, ItsRecordingsPlayTheirSnapshotsAreSavedAndTheNoticeOpensTheFolder)
{
    ASSERT_NE(CString(folder).ToAnsi().find('?'), std::string::npos) << "the code page spells the folder";
    CDlgPlayBack& page = dlg->playbackPage;
    CDlgPlayBkCtrl& panel = page.controlPanel;
    DoubleClickRow(list, 0);
    ASSERT_TRUE(PumpUntil([&] { return panel.decoder != nullptr; }, 5000)) << "nothing opened";
    auto fourPictures = [&] {
        for (int k = 0; k < 4; ++k)
            if (!ShowsColour(page.panes[k].VideoWindow(), fixture::ChannelColour(k + 1)))
                return false;
        return true;
    };
    EXPECT_TRUE(PumpUntil(fourPictures, 5000)) << PaneColours(page);
    EXPECT_TRUE(PumpUntil([&] { return PlayTime(panel.decoder) > 1000; }, 5000));
    wintest::ScreenCapture(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))
        .SaveBmp("player_non_ansi_folder.bmp");

    // A snapshot of each channel beside its recording.
    std::vector<std::string> launched;
    panel.notice.launch = [&](const std::string& command) { launched.push_back(command); };
    panel.CaptureSnapshot();
    EXPECT_EQ(BmpFilesIn(folder).size(), 4u);
    // Open Folder: Explorer gets a folder it can reach.
    SendMessageW(panel.notice.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(panel.notice.m_hWnd, IDOK)));
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].find('?'), std::string::npos) << launched[0];
    const size_t quote = launched[0].find('"');
    ASSERT_NE(quote, std::string::npos) << launched[0];
    const std::string reached = launched[0].substr(quote + 1, launched[0].size() - quote - 2);
    EXPECT_NE(GetFileAttributesA(reached.c_str()), INVALID_FILE_ATTRIBUTES) << reached;
    SendMessageW(panel.notice.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Groups whose vehicle moves half a metre a picture (its latitude with
// every information frame): one of four channels from 08:30:00 for 10 s;
// one whose channel 3 starts 4 s after the others (08:31:00-08:31:06,
// 08:31:04-08:31:10); one whose channel 1 holds 5 s of the others' 10
// (08:32:00).
class GroupTimePlaybackTest : public PlaybackTest {
protected:
    std::vector<std::wstring> WriteGroups(const std::wstring& in) override
    {
        auto moving = [](size_t k, const InfoFrame& drive) {
            recwriter::InfoFields f;
            std::memcpy(f.date, &drive, 6);
            recwriter::SetLatitude(f, 22.5 + double(k) * 0.000005, 6);
            recwriter::SetLongitude(f, 114.0 + double(k) * 0.000005, 6);
            f.speedKmh = 60;
            return recwriter::InfoBlock(f, 48);
        };
        std::vector<std::wstring> written;
        for (int c = 1; c <= 4; ++c)
            written.push_back(fixture::WritePlayableRecording(in, c, 83000, 10, moving));
        for (int c = 1; c <= 4; ++c)
            written.push_back(fixture::WritePlayableRecording(in, c, c == 3 ? 83104 : 83100, 6, moving));
        for (int c = 1; c <= 4; ++c)
            written.push_back(fixture::WritePlayableRecording(in, c, 83200, c == 1 ? 5 : 10, moving));
        return written;
    }
    CDlgPlayBkCtrl& Panel() { return dlg->playbackPage.controlPanel; }
    void PlayRow(int row)
    {
        Panel().currentIndex = row;
        dlg->playbackPage.PlaySelectedFile();
        ASSERT_NE(Panel().decoder, nullptr);
    }
    int SliderMs() { return Panel().positionSlider.GetPos(); }
    // The panel took an information frame since `lat` was its last one.
    bool FrameSince(double lat)
    {
        return Panel().vehicle.state.hasPrevious && Panel().vehicle.state.previousLat != lat;
    }
};

TEST_F(GroupTimePlaybackTest, InformationReachesThePanelAfterReversePlayToTheStart)
{
    CDlgPlayBkCtrl& panel = Panel();
    PlayRow(0);
    ASSERT_TRUE(PumpUntil([&] { return PlayTime(panel.decoder) > 2500; }, 10000));
    Click(panel, IDC_REWIND);
    ASSERT_TRUE(PumpUntil([&] { return RateLabel(panel) == L"PAUSE"; }, 8000));
    Pump(1500);
    ASSERT_EQ(RateLabel(panel), L"PAUSE");
    EXPECT_LT(PlayTime(panel.decoder), 300);
    const double held = panel.vehicle.state.previousLat;
    Click(panel, IDC_PLAY);
    const DWORD played = GetTickCount();
    EXPECT_TRUE(PumpUntil([&] { return FrameSince(held); }, 1000)) << "no information frame within 1 s of PLAY";
    // Forwards from the start, not from where backward play turned.
    EXPECT_LT(PlayTime(panel.decoder), 1500);
    // And they go on coming.
    for (int i = 0; i < 3; ++i) {
        const double now = panel.vehicle.state.previousLat;
        EXPECT_TRUE(PumpUntil([&] { return FrameSince(now); }, 1000)) << i << " at " << GetTickCount() - played;
    }
    EXPECT_EQ(panel.vehicle.state.previousLat > 22.5, true);
}

TEST_F(GroupTimePlaybackTest, TheTimeOfAGroupWithALateChannelNeverGoesBack)
{
    CDlgPlayBkCtrl& panel = Panel();
    PlayRow(4);
    ASSERT_EQ(panel.channelPath[2], paths[6]);
    EXPECT_EQ(panel.positionSlider.RangeMax(), 10000);
    EXPECT_EQ(g_Settings.totalTimeText, " / 00:10");
    HWND label = panel.GetDlgItem(IDC_TIME_LABEL);
    int last = 0, lastLabel = 0, top = 0;
    const DWORD start = GetTickCount();
    while (panel.decoder && panel.channelPath[2] == paths[6] && GetTickCount() - start < 15000) {
        Pump(50);
        wchar_t text[64] = {};
        GetWindowTextW(label, text, 64);
        int m = 0, sec = 0;
        const int seconds = swscanf(text, L"%d:%d", &m, &sec) == 2 ? m * 60 + sec : -1;
        const int ms = SliderMs();
        EXPECT_GE(ms, last - 100) << "the slider went back at " << GetTickCount() - start << " ms";
        EXPECT_GE(seconds, lastLabel) << "the time label went back";
        last = ms > last ? ms : last;
        lastLabel = seconds > lastLabel ? seconds : lastLabel;
        top = ms > top ? ms : top;
        if (panel.decoder && PlayTime(panel.decoder) > 9000)
            break;
    }
    EXPECT_GE(top, 8000) << "the slider did not come near the group's end";
    EXPECT_GE(lastLabel, 8);
}

TEST_F(GroupTimePlaybackTest, ASeekReachesEveryPartOfAGroupWhoseFirstFileIsShort)
{
    CDlgPlayBkCtrl& panel = Panel();
    PlayRow(8);
    EXPECT_EQ(panel.positionSlider.RangeMax(), 10000);
    EXPECT_EQ(g_Settings.totalTimeText, " / 00:10");
    ASSERT_EQ(panel.channelPath[0], paths[8]);
    // Channel 1 ends after 5 s; a seek to three quarters goes there.
    ASSERT_TRUE(PumpUntil([&] { return panel.channelFound[0] == 0; }, 10000)) << "channel 1 did not end";
    panel.positionSlider.SetPos(7500, true);
    NMHDR release = {panel.positionSlider.m_hWnd, IDC_POSITION_SLIDER, UINT(NM_RELEASEDCAPTURE)};
    SendMessageW(panel.m_hWnd, WM_NOTIFY, IDC_POSITION_SLIDER, reinterpret_cast<LPARAM>(&release));
    EXPECT_GE(PlayTime(panel.decoder), 7400);
    EXPECT_TRUE(PumpUntil([&] { return SliderMs() >= 8200; }, 3000)) << SliderMs();
    // Back to 1 s: channel 1 plays again, and the time runs on from there.
    panel.positionSlider.SetPos(1000, true);
    SendMessageW(panel.m_hWnd, WM_NOTIFY, IDC_POSITION_SLIDER, reinterpret_cast<LPARAM>(&release));
    EXPECT_EQ(panel.channelFound[0], 1);
    const int from = PlayTime(panel.decoder);
    EXPECT_LE(from, 1300);
    EXPECT_TRUE(PumpUntil([&] { return PlayTime(panel.decoder) > from + 1000; }, 3000));
    EXPECT_TRUE(PumpUntil([&] { return panel.channelFound[0] == 0; }, 5000)) << "channel 1 did not end again";
    EXPECT_NE(panel.decoder, nullptr);
}

namespace {

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindTopWindow(HWND h, LPARAM p)
{
    auto* f = reinterpret_cast<Found*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == f->pid && IsWindowVisible(h) && !GetParent(h)) {
        f->window = h;
        return FALSE;
    }
    return TRUE;
}

HWND TopWindowOf(DWORD pid)
{
    Found f = {pid, nullptr};
    EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&f));
    return f.window;
}

struct Search {
    int id;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectControl(HWND h, LPARAM p)
{
    auto* s = reinterpret_cast<Search*>(p);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (GetDlgCtrlID(h) == s->id && lstrcmpiW(cls, s->className) == 0)
        s->found.push_back(h);
    return TRUE;
}

// The descendants of parent with this control id and class.
std::vector<HWND> FindControls(HWND parent, int id, const wchar_t* className)
{
    Search s = {id, className, {}};
    EnumChildWindows(parent, CollectControl, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindControl(HWND parent, int id, const wchar_t* className)
{
    std::vector<HWND> all = FindControls(parent, id, className);
    return all.empty() ? nullptr : all.front();
}

std::wstring ProgramPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"Zarv Player.exe";
}

// The program started on a folder of two groups (WriteTwoGroups), once its
// list shows the eight recordings; top stays null when it does not within
// 30 s.
struct RunningProgram {
    PROCESS_INFORMATION pi = {};
    HWND top = nullptr;
};

RunningProgram StartProgramOn(const std::wstring& folder)
{
    RunningProgram program;
    std::wstring command = L"\"" + ProgramPath() + L"\" \"" + folder + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &program.pi))
        return program;
    HWND top = nullptr;
    if (PumpUntil(
            [&] {
                top = TopWindowOf(program.pi.dwProcessId);
                HWND list = top ? FindControl(top, IDC_RECORD_LIST, L"SysListView32") : nullptr;
                return list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 8;
            },
            30000))
        program.top = top;
    return program;
}

}  // namespace

TEST(PlaybackProgram, ClosingWhilePlayingEndsTheProcess)
{
    fixture::TempTree tree(L"closing");
    for (const std::wstring& p : WriteTwoGroups(tree))
        ASSERT_FALSE(p.empty());
    const RunningProgram program = StartProgramOn(tree.Root());
    ASSERT_NE(program.top, nullptr) << "the program does not list the eight recordings";
    const PROCESS_INFORMATION pi = program.pi;
    HWND top = program.top;

    // PLAY with nothing open plays the list's first record.
    PostMessageW(FindControl(top, IDC_PLAY, L"Button"), BM_CLICK, 0, 0);
    const std::vector<HWND> panes = FindControls(top, IDC_VIDEO_WINDOW, L"Static");
    ASSERT_EQ(panes.size(), 8u);
    EXPECT_TRUE(PumpUntil(
        [&] {
            for (HWND pane : panes)
                if (ShowsColour(pane, fixture::ChannelColour(1)))
                    return true;
            return false;
        },
        10000))
        << "channel 1 plays";

    PostMessageW(top, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(pi.hProcess, 20000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program is still running";
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

namespace {

struct OtherPlayer {
    DWORD notPid;
    HWND window;
    DWORD pid;
};

BOOL CALLBACK FindOtherPlayer(HWND h, LPARAM p)
{
    auto* f = reinterpret_cast<OtherPlayer*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == f->notPid || owner == GetCurrentProcessId() || !IsWindowVisible(h) || GetParent(h))
        return TRUE;
    if (!FindControl(h, IDC_RECORD_LIST, L"SysListView32"))
        return TRUE;
    f->window = h;
    f->pid = owner;
    return FALSE;
}

}  // namespace

TEST(PlaybackProgram, AMapProviderChangeRestartsTheProgramOnTheSameRecordings)
{
    fixture::TempTree tree(L"restart");
    const std::wstring folder = tree.Folder(L"card with blanks");
    for (const std::wstring& p : WriteTwoGroups(folder))
        ASSERT_FALSE(p.empty());
    const RunningProgram program = StartProgramOn(folder);
    ASSERT_NE(program.top, nullptr) << "the program does not list the eight recordings";
    const PROCESS_INFORMATION pi = program.pi;
    HWND top = program.top;

    // Another provider in the GPS panel: the program closes and starts again.
    HWND provider = FindControl(top, IDC_MAP_PROVIDER, L"ComboBox");
    ASSERT_NE(provider, nullptr);
    const LRESULT chosen = SendMessageW(provider, CB_GETCURSEL, 0, 0) == 1 ? 0 : 1;
    SendMessageW(provider, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    SendMessageW(GetParent(provider), WM_COMMAND, MAKEWPARAM(IDC_MAP_PROVIDER, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(provider));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0) << "the program did not close";
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);

    OtherPlayer fresh = {pi.dwProcessId, nullptr, 0};
    EXPECT_TRUE(PumpUntil(
        [&] {
            fresh = {pi.dwProcessId, nullptr, 0};
            EnumWindows(FindOtherPlayer, reinterpret_cast<LPARAM>(&fresh));
            HWND freshList = fresh.window ? FindControl(fresh.window, IDC_RECORD_LIST, L"SysListView32") : nullptr;
            return freshList && SendMessageW(freshList, LVM_GETITEMCOUNT, 0, 0) == 8;
        },
        30000))
        << "the new program lists the same recordings";
    if (fresh.pid) {
        PostMessageW(fresh.window, WM_CLOSE, 0, 0);
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, fresh.pid);
        if (process) {
            if (WaitForSingleObject(process, 20000) != WAIT_OBJECT_0)
                TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
    // The provider chosen was saved beside the program: not for the next tests.
    DeleteFileA(g_Settings.ConfigPath().c_str());
}

namespace {

// The seconds of the time label's "mm:ss"; -1 when it shows none.
int LabelSeconds(HWND label)
{
    wchar_t text[64] = {};
    GetWindowTextW(label, text, 64);
    int m = 0, s = 0;
    return swscanf(text, L"%d:%d", &m, &s) == 2 ? m * 60 + s : -1;
}

}  // namespace

// The program answers and its labels follow while four channels play, in
// every layout: nine, four and one pane, the side panels hidden, full
// screen. In each, a message posted behind everything the program has
// queued is acted on, the slider moves on, and the time label agrees with
// it. (How fast is the benchmark's business: scripts/bench-player.)
TEST(PlaybackProgram, AnswersAndFollowsThePlayInEveryLayout)
{
    fixture::TempTree tree(L"layouts");
    for (const std::wstring& p : WriteTwoGroups(tree))
        ASSERT_FALSE(p.empty());
    const RunningProgram program = StartProgramOn(tree.Root());
    ASSERT_NE(program.top, nullptr) << "the program does not list the eight recordings";
    const PROCESS_INFORMATION pi = program.pi;
    HWND top = program.top;
    HWND play = FindControl(top, IDC_PLAY, L"Button");
    ASSERT_NE(play, nullptr);
    HWND bar = GetParent(play);
    HWND slider = FindControl(bar, IDC_POSITION_SLIDER, L"msctls_trackbar32");
    HWND label = GetDlgItem(bar, IDC_TIME_LABEL);
    HWND radio = FindControl(top, IDC_TRACK_GREEN, L"Button");
    ASSERT_TRUE(slider && label && radio);
    auto tap = [&](int id) { PostMessageW(bar, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), 0); };
    auto press = [&](int id) { PostMessageW(FindControl(bar, id, L"Button"), BM_CLICK, 0, 0); };
    auto position = [&] { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); };

    PostMessageW(play, BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return position() > 500; }, 10000)) << "the slider does not move";

    struct Layout {
        const char* name;
        std::function<void()> enter, leave;
    };
    const Layout layouts[] = {
        {"nine panes", [&] { tap(IDC_BAR_SPLIT9); }, [] {}},
        {"four panes", [&] { tap(IDC_BAR_SPLIT4); }, [] {}},
        {"one pane", [&] { tap(IDC_BAR_SPLIT1); }, [&] { tap(IDC_BAR_SPLIT4); }},
        {"side panels hidden", [&] { press(IDC_SIDE_PANELS); }, [&] { press(IDC_SIDE_PANELS); }},
        {"full screen", [&] { press(IDC_FULL_SCREEN); }, [&] { PostMessageW(bar, WM_KEYDOWN, VK_ESCAPE, 0); }},
    };
    bool check = true;
    for (const Layout& layout : layouts) {
        layout.enter();
        // Posted behind whatever the program has queued: acted on.
        const LRESULT want = check ? BST_CHECKED : BST_UNCHECKED;
        PostMessageW(radio, BM_SETCHECK, static_cast<WPARAM>(want), 0);
        check = !check;
        EXPECT_TRUE(PumpUntil([&] { return SendMessageW(radio, BM_GETCHECK, 0, 0) == want; }, 10000))
            << layout.name << ": the program does not answer";
        const int from = position();
        EXPECT_TRUE(PumpUntil([&] { return position() > from; }, 5000)) << layout.name << ": the slider stands";
        // The label and the slider agree (the label in whole seconds; both
        // follow the play time on the same timer, so one read may straddle
        // a tick).
        EXPECT_TRUE(PumpUntil(
            [&] {
                const int seconds = LabelSeconds(label), ms = position();
                return seconds >= 0 && seconds * 1000 <= ms + 1000 && ms < (seconds + 2) * 1000;
            },
            5000))
            << layout.name << ": label " << LabelSeconds(label) << " s, slider " << position() << " ms";
        layout.leave();
    }

    PostMessageW(top, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(pi.hProcess, 20000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program is still running";
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
