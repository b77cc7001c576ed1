// The player plays recordings through the engine DLL, as a user sees it:
// the recording list of a folder of two four-channel groups, a double-click
// on channel 2's row, the four panes read back from the screen, the rate
// and pause keys, the next group opening by itself, STOP; and the program
// itself closed while it plays.
#include "app/MainDialog.h"

#include "AppSettings.h"
#include "testing/PlaybackRecordings.h"
#include "PostedBlock.h"
#include "testing/RecordingTree.h"
#include "VideoStatic.h"
#include "WinApp.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <cstdio>
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
std::vector<std::wstring> WriteTwoGroups(const fixture::TempTree& tree)
{
    std::vector<std::wstring> paths;
    for (int start : kGroupStarts)
        for (int channel = 1; channel <= 4; ++channel)
            paths.push_back(fixture::WritePlayableRecording(tree.Root(), channel, start, kGroupSeconds));
    return paths;
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
        InitRichEdit2();
        INITCOMMONCONTROLSEX icc = {8, 0xFF};
        InitCommonControlsEx(&icc);
        tree = std::make_unique<fixture::TempTree>(L"playback");
        paths = WriteTwoGroups(*tree);
        for (const std::wstring& p : paths)
            ASSERT_FALSE(p.empty()) << "the playback streams are built beside the test";
        dlg = new CTORQUELIANDlg;
        g_Settings.mainDlg = dlg;
        ASSERT_TRUE(dlg->Create(nullptr));
        dlg->ShowWindow(SW_SHOW);
        // Above the windows of the tests that run beside this one.
        SetWindowPos(dlg->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Pump(700);
        dlg->searchPanel.SetEnglish();
        CCommandLineInfo cmd;
        ParseArguments({CString(tree->Root())}, cmd);
        dlg->ApplyCommandLine(cmd);
        list = dlg->fileList.ListControl();
        ASSERT_TRUE(PumpUntil([&] { return !dlg->fileList.scanBusy && ListView_GetItemCount(list) == 8; }, 20000));
    }
    void TearDown() override
    {
        delete dlg;
        g_Settings.mainDlg = nullptr;
        g_Settings.searchRoot.clear();
        DeleteFileA(g_Settings.ConfigPath().c_str());
    }

    std::unique_ptr<fixture::TempTree> tree;
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

    // The slider spans the recording, in milliseconds.
    EXPECT_EQ(panel.positionSlider.RangeMax(), int(panel.fileInfo.durationMs));
    EXPECT_GT(panel.fileInfo.durationMs, 9000u);
    EXPECT_LE(panel.fileInfo.durationMs, 10000u);

    // Right: faster. The label says 2X; the engine's first fast step takes
    // a frame every 31 ms in place of 40 (about 1.3 times). Loosely: the
    // machine is shared.
    const HWND keys = panel.m_hWnd;
    const double normal = MeasuredRate(panel.decoder, 1200);
    Key(keys, VK_RIGHT);
    EXPECT_EQ(CString::WindowText(panel.GetDlgItem(IDC_RATE_LABEL)), L"2X");
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

}  // namespace

TEST(PlaybackProgram, ClosingWhilePlayingEndsTheProcess)
{
    fixture::TempTree tree(L"closing");
    for (const std::wstring& p : WriteTwoGroups(tree))
        ASSERT_FALSE(p.empty());
    std::wstring command = L"\"" + ProgramPath() + L"\" \"" + tree.Root() + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND top = nullptr, list = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            top = TopWindowOf(pi.dwProcessId);
            list = top ? FindControl(top, IDC_RECORD_LIST, L"SysListView32") : nullptr;
            return list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 8;
        },
        30000));

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
    std::wstring command = L"\"" + ProgramPath() + L"\" \"" + tree.Root() + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND top = nullptr, list = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            top = TopWindowOf(pi.dwProcessId);
            list = top ? FindControl(top, IDC_RECORD_LIST, L"SysListView32") : nullptr;
            return list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 8;
        },
        30000));
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
