// The playback page and its control panel against the recording fake of
// the engine table: what they open, in which order, and what happens to
// reports that come late.
#include "playback/DlgPlayBack.h"

#include "AppSettings.h"
#include "playback/AviSource.h"
#include "recordings/DlgFileList.h"
#include "testing/FakeEngine.h"
#include "LanguageHolder.h"
#include "app/MainWindow.h"
#include "PostedBlock.h"
#include "PrivateMessages.h"
#include "StringIds.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

extern HWND g_hMainWnd;

using fake_engine::Count;
using fake_engine::Fake;
using fake_engine::OpenedPaths;

namespace {

std::string Ansi(const std::wstring& s)
{
    return CString(s).ToAnsi();
}

// The stream-information box of a main window.
class FakeMainWindow : public IMainWindow {
public:
    std::wstring streamInfo;
    void UpdateTexts() override {}
    void ShowStreamInfo(const std::wstring& text) override { streamInfo = text; }
    void ApplyScreenLayout() override {}
    void ShowSearchRoot(const std::wstring&) override {}
    void ToggleMap() override {}
    void LoadLanguageImages() override {}
    void ApplyTrackColour() override {}
};

class PlaybackPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        fake_engine::Reset();
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"zarv-playback-panel-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        holder.SetLanguage(0);
        holder.fileList = &list;
        list.rowsPerPage = 12;
        g_Settings.mainDlg = &mainWindow;
        // Off the screen: the tests that read the screen back run beside these.
        ASSERT_TRUE(
            parent.CreateEx(0, nullptr, L"playback", WS_POPUP | WS_CLIPCHILDREN, -4000, -4000, 800, 650, nullptr, 0));
        parent.ShowWindow(SW_SHOWNOACTIVATE);
        page = new CDlgPlayBack;
        page->language = &holder;
        page->controlPanel.engine = &fake_engine::Table();
        ASSERT_TRUE(page->Create(&parent));
        page->MoveWindow(0, 0, 800, 650);
        page->ShowWindow(SW_SHOW);
        panel = &page->controlPanel;
    }
    void TearDown() override
    {
        delete page;
        parent.DestroyWindow();
        g_Settings.mainDlg = nullptr;
        for (const std::wstring& f : files)
            DeleteFileW(f.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    // A record of channel `channel` from start to end (HHMMSS); its file
    // exists unless `withFile` is false. `prefix` is the name's first three
    // characters (a first digit 0 is never opened).
    FileRecord Rec(int channel, int start, int end, bool withFile = true, const wchar_t* prefix = L"100",
                   int nameStart = -1, int nameEnd = -1)
    {
        FileRecord r;
        r.year = 26;
        r.month = 12;
        r.day = 10;
        r.startHour = uint8_t(start / 10000);
        r.startMinute = uint8_t(start / 100 % 100);
        r.startSecond = uint8_t(start % 100);
        r.endHour = uint8_t(end / 10000);
        r.endMinute = uint8_t(end / 100 % 100);
        r.endSecond = uint8_t(end % 100);
        r.channel = channel;
        wchar_t name[64];
        std::swprintf(name, 64, L"%ls-%02d-%06d-%06d-00p000.h264", prefix, channel, nameStart < 0 ? start : nameStart,
                      nameEnd < 0 ? end : nameEnd);
        const std::wstring path = folder + name;
        SetRecordName(r, name, path);
        if (withFile) {
            HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            CloseHandle(h);
            files.push_back(path);
        }
        return r;
    }

    // Two groups of four channels, 08:30:00-08:31:00 and 08:31:00-08:32:00.
    void TwoGroups()
    {
        for (int g = 0; g < 2; ++g)
            for (int c = 1; c <= 4; ++c)
                list.allRecords.push_back(Rec(c, 83000 + g * 100, 83100 + g * 100));
    }

    void PlayIndex(int index)
    {
        panel->currentIndex = index;
        page->PlaySelectedFile();
    }

    std::string PathOf(int index) { return Ansi(list.allRecords[size_t(index)].path); }

    std::wstring folder;
    std::vector<std::wstring> files;
    LanguageHolder holder;
    CDlgFileList list;
    FakeMainWindow mainWindow;
    CWnd parent;
    CDlgPlayBack* page = nullptr;
    CDlgPlayBkCtrl* panel = nullptr;
};

}  // namespace

TEST_F(PlaybackPanelTest, ADoubleClickedRecordOpensAndPlaysItsGroup)
{
    TwoGroups();
    page->paneCount = 1;
    Fake().durationMs = 3600000;  // an hour: beyond 16 bits of milliseconds
    PlayIndex(1);
    const std::vector<std::string> want = {PathOf(0), PathOf(1), PathOf(2), PathOf(3)};
    EXPECT_EQ(OpenedPaths(), want);
    EXPECT_EQ(Count("Play"), 4);
    EXPECT_NE(panel->decoder, nullptr);
    EXPECT_EQ(panel->playState, kPlaying);
    EXPECT_EQ(page->paneCount, 4);  // four channels in the folder
    EXPECT_EQ(panel->positionSlider.RangeMax(), 3600000);
    EXPECT_EQ(g_Settings.totalTimeText, " / 01:00");
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(panel->channelNumber[k], k + 1);
        EXPECT_EQ(panel->paneWindow[k], page->panes[k].VideoWindow());
    }
    EXPECT_EQ(CString::WindowText(panel->GetDlgItem(IDC_RATE_LABEL)), L"1X");
    // The selected pane's file in the stream-information box.
    EXPECT_EQ(mainWindow.streamInfo.substr(0, 32), L"Time Interval:08:30:00-08:31:00\r");

    // A click on another pane: its sound, its information.
    SendMessageW(page->m_hWnd, WM_VIDEO_CLICKED, 2, 0);
    EXPECT_EQ(page->selectedPane, 2);
    EXPECT_EQ(Fake().calls.back().name, "SetVolume");
    EXPECT_EQ(mainWindow.streamInfo.find(L"Channel:CH03"), 33u);
    SendMessageW(page->m_hWnd, WM_VIDEO_CLICKED, 6, 0);
    EXPECT_EQ(mainWindow.streamInfo, L"Unknown Information");

    // A double-click shows the pane alone, another one the four again.
    SendMessageW(page->m_hWnd, WM_VIDEO_DBLCLICKED, 1, 0);
    EXPECT_EQ(page->paneCount, 1);
    EXPECT_TRUE(IsWindowVisible(page->panes[1].m_hWnd));
    EXPECT_FALSE(IsWindowVisible(page->panes[0].m_hWnd));
    SendMessageW(page->m_hWnd, WM_VIDEO_DBLCLICKED, 1, 0);
    EXPECT_EQ(page->paneCount, 4);
    EXPECT_TRUE(IsWindowVisible(page->panes[0].m_hWnd));
}

TEST_F(PlaybackPanelTest, ShortRecordsAreSkippedInOneGoToTheNextLongOne)
{
    // 2,000 records of 4 seconds (no files behind them), then a long one.
    for (int i = 0; i < 2000; ++i)
        list.allRecords.push_back(Rec(1, 80000, 80004, false));
    list.allRecords.push_back(Rec(1, 83000, 83100));
    PlayIndex(0);
    EXPECT_EQ(OpenedPaths(), std::vector<std::string>{PathOf(2000)});
    EXPECT_EQ(Count("CreateDecoder"), 1);
    EXPECT_EQ(panel->currentIndex, 2000);

    // Nothing long behind the choice: nothing opens, what played goes on.
    fake_engine::Reset();
    list.allRecords.back() = Rec(1, 83000, 83003);
    PlayIndex(5);
    EXPECT_EQ(Count("CreateDecoder"), 0);
    EXPECT_EQ(Count("Stop"), 0);
}

TEST_F(PlaybackPanelTest, APreviousOrNextStepIsAppliedBeforeTheBoundsTest)
{
    TwoGroups();
    panel->savedIndex = 5;
    panel->restoreIndex = 1;
    PlayIndex(99);  // a stale index outside the list
    EXPECT_EQ(panel->currentIndex, 5);
    EXPECT_EQ(OpenedPaths(), (std::vector<std::string>{PathOf(4), PathOf(5), PathOf(6), PathOf(7)}));
    EXPECT_EQ(panel->restoreIndex, 0);
}

TEST_F(PlaybackPanelTest, TheRecordBeingOpenedIsTheOneCheckedAndLaidOut)
{
    // The list's last clicked path names a file elsewhere that is gone; the
    // record at the current index is the one that plays and lays out.
    TwoGroups();
    list.allRecords.push_back(Rec(6, 83000, 83100));
    // (the list's last clicked path is empty: it is not what plays)
    page->paneCount = 1;
    PlayIndex(0);
    EXPECT_EQ(OpenedPaths().front(), PathOf(0));
    EXPECT_EQ(page->paneCount, 9);  // channel 6 lies in the opened record's folder
}

TEST_F(PlaybackPanelTest, NamesStartingWithoutADigitOneToNineAreListedButNotOpened)
{
    list.allRecords.push_back(Rec(1, 83000, 83100, true, L"000"));
    list.allRecords.push_back(Rec(2, 83000, 83100));
    PlayIndex(0);
    EXPECT_EQ(OpenedPaths(), std::vector<std::string>{PathOf(1)});

    fake_engine::Reset();
    list.allRecords[1] = Rec(2, 83000, 83100, true, L"000");
    PlayIndex(0);
    EXPECT_EQ(Count("CreateDecoder"), 0);
}

TEST_F(PlaybackPanelTest, ANullEngineHandleOpensNothing)
{
    TwoGroups();
    Fake().giveNoHandle = true;
    PlayIndex(0);
    EXPECT_EQ(Count("OpenFile"), 0);
    EXPECT_EQ(Count("Play"), 0);
    EXPECT_EQ(panel->decoder, nullptr);
    EXPECT_NE(panel->playState, kPlaying);
}

TEST_F(PlaybackPanelTest, AChannelThatFailsToOpenIsDroppedAndNoneOpenStops)
{
    TwoGroups();
    Fake().failingPaths = {PathOf(1)};
    PlayIndex(0);
    EXPECT_EQ(Count("Play"), 3);
    EXPECT_EQ(panel->channelNumber[1], -1);
    EXPECT_EQ(panel->channelFound[1], 0);

    panel->StopAll();
    fake_engine::Reset();
    Fake().failingPaths = {PathOf(4), PathOf(5), PathOf(6), PathOf(7)};
    PlayIndex(4);
    EXPECT_EQ(Count("Play"), 0);
    EXPECT_EQ(Count("EraseDecoder"), 1);
    EXPECT_EQ(panel->decoder, nullptr);
}

TEST_F(PlaybackPanelTest, AReportQueuedBeforeAStopIsDropped)
{
    TwoGroups();
    const size_t blocks = PendingBlockCount();
    PlayIndex(0);
    // The last channels end and frames arrive just before STOP is pressed.
    for (int k = 0; k < 4; ++k)
        fake_engine::ReportEnd(k);
    fake_engine::ReportInfoFrame();
    EXPECT_EQ(PendingBlockCount(), blocks + 1);
    SendMessageW(panel->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_STOP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(panel->GetDlgItem(IDC_STOP)));
    EXPECT_EQ(PendingBlockCount(), blocks);
    wintest::Pump(300);
    EXPECT_EQ(Count("CreateDecoder"), 1);  // no next recording
    EXPECT_EQ(panel->decoder, nullptr);

    // An end posted for one group and queued across the next open does not
    // touch the new group.
    fake_engine::Reset();
    PlayIndex(0);
    fake_engine::ReportEnd(1);
    PlayIndex(4);
    wintest::Pump(300);
    EXPECT_EQ(panel->channelFound[1], 1);
    EXPECT_EQ(Count("SetSynChannel"), 0);

    // An end that comes with nothing open does nothing.
    fake_engine::Reset();
    panel->StopAll();
    PostMessageW(panel->m_hWnd, WM_CHANNEL_END, 0, 0);
    wintest::Pump(300);
    EXPECT_EQ(Count("CreateDecoder"), 0);
}

TEST_F(PlaybackPanelTest, WhenChannelsEndTheOneThatEndsLastLeadsThenTheNextGroupOpens)
{
    // Channel 2 ends 10 s after channel 1.
    list.allRecords.push_back(Rec(1, 83000, 83100));
    list.allRecords.push_back(Rec(2, 83000, 83110));
    list.allRecords.push_back(Rec(1, 83110, 83200));
    list.allRecords.push_back(Rec(2, 83110, 83200));
    PlayIndex(0);
    Fake().syncChannel = 0;
    fake_engine::ReportEnd(0);
    wintest::Pump(100);
    ASSERT_EQ(Count("SetSynChannel"), 1);
    EXPECT_EQ(fake_engine::Last("SetSynChannel").a, 1);
    EXPECT_EQ(panel->groupEnd[2], 10);
    EXPECT_EQ(g_Settings.totalTimeText, " / 01:10");

    // The last one: the next group.
    fake_engine::ReportEnd(1);
    wintest::Pump(100);
    EXPECT_EQ(Count("CreateDecoder"), 2);
    EXPECT_EQ(OpenedPaths().back(), PathOf(3));
    EXPECT_EQ(panel->savedIndex, 2);
}

namespace {

// Every text a window is given, in order.
std::vector<std::wstring>* g_labelTexts = nullptr;
WNDPROC g_labelProc = nullptr;

LRESULT CALLBACK RecordText(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_SETTEXT && g_labelTexts && lp)
        g_labelTexts->push_back(reinterpret_cast<const wchar_t*>(lp));
    return CallWindowProcW(g_labelProc, h, msg, wp, lp);
}

}  // namespace

TEST_F(PlaybackPanelTest, MovingOnToTheNextGroupShowsNoStopAndStopPutsTheSliderBackAtZero)
{
    TwoGroups();
    PlayIndex(0);
    HWND rate = panel->GetDlgItem(IDC_RATE_LABEL);
    std::vector<std::wstring> texts;
    g_labelTexts = &texts;
    g_labelProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(rate, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordText)));
    for (int k = 0; k < 4; ++k)
        fake_engine::ReportEnd(k);
    wintest::Pump(100);
    EXPECT_EQ(OpenedPaths().back(), PathOf(7));
    SetWindowLongPtrW(rate, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_labelProc));
    g_labelTexts = nullptr;
    for (const std::wstring& t : texts)
        EXPECT_NE(t, L"STOP") << "the rate label flashed STOP on the way to the next group";
    EXPECT_EQ(CString::WindowText(rate), L"1X");

    // STOP: the slider back at 0, the time label at zero.
    panel->positionSlider.SetRange(0, 60000);
    panel->positionSlider.SetPos(25000, true);
    SendMessageW(panel->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_STOP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(panel->GetDlgItem(IDC_STOP)));
    EXPECT_EQ(panel->positionSlider.GetPos(), 0);
    EXPECT_EQ(CString::WindowText(panel->GetDlgItem(IDC_TIME_LABEL)), L"00:00 / 00:00");
    EXPECT_EQ(CString::WindowText(rate), L"STOP");
    // The end of the last group stops too, and says so.
    PlayIndex(4);
    for (int k = 0; k < 4; ++k)
        fake_engine::ReportEnd(k);
    wintest::Pump(100);
    EXPECT_EQ(panel->decoder, nullptr);
    EXPECT_EQ(CString::WindowText(rate), L"STOP");
}

TEST_F(PlaybackPanelTest, AFileWithNeitherAnAnsiNameNorAShortNameIsToldAndNotOpened)
{
    // A folder the code page cannot spell that is not there has no short
    // name either: as on a volume without short names.
    FileRecord r = Rec(1, 83000, 83100, false);
    const std::wstring unreachable = folder + L"\u0417\u0430\u043f\u0438\u0441\u0438 \u5f55\u50cf\\" + r.name;
    SetRecordName(r, r.name, unreachable);
    list.allRecords.push_back(r);
    list.allRecords.push_back(Rec(2, 83000, 83100));
    LanguageHolder* before = g_Settings.language;
    g_Settings.language = &holder;
    ASSERT_FALSE(CurrentText(IDS_PATH_NO_SHORT_NAME).empty());
    wintest::MessageBoxCloser boxes;
    panel->currentIndex = 0;
    panel->OpenSelection();
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{unreachable + L" " + CurrentText(IDS_PATH_NO_SHORT_NAME)});
    // The channel that can be reached plays; the other is not handed over.
    EXPECT_EQ(OpenedPaths(), std::vector<std::string>{PathOf(1)});
    EXPECT_EQ(panel->channelNumber[0], -1);
    g_Settings.language = before;
}

TEST_F(PlaybackPanelTest, ReportsAreCheckedAgainstTheListAsItIsNow)
{
    TwoGroups();
    PlayIndex(0);
    // Out-of-range reports and a sync channel the engine cannot have.
    const LPARAM group = LPARAM(panel->reports.Current());
    for (WPARAM bad : {WPARAM(8), WPARAM(-1), WPARAM(100)})
        SendMessageW(panel->m_hWnd, WM_CHANNEL_END, bad, group);
    EXPECT_EQ(Count("SetSynChannel"), 0);
    Fake().syncOverride = 12;
    SendMessageW(panel->m_hWnd, WM_CHANNEL_END, 3, group);
    EXPECT_EQ(Count("SetSynChannel"), 1);
    Fake().syncOverride = -100;

    // The list was searched again: more records in front of the group. Its
    // records are found again by path.
    std::vector<FileRecord> before = {Rec(1, 70000, 70100), Rec(2, 70000, 70100), Rec(3, 70000, 70100)};
    list.allRecords.insert(list.allRecords.begin(), before.begin(), before.end());
    SendMessageW(panel->m_hWnd, WM_CHANNEL_END, 0, group);
    EXPECT_EQ(panel->channelIndex[1], 4);
    EXPECT_EQ(panel->groupStart[0], 8);

    // Searched again without the group: it stops.
    list.allRecords.clear();
    SendMessageW(panel->m_hWnd, WM_CHANNEL_END, 1, group);
    EXPECT_EQ(panel->decoder, nullptr);
    EXPECT_EQ(Count("CreateDecoder"), 1);
}

TEST_F(PlaybackPanelTest, PagesOfOneRecordOrNone)
{
    TwoGroups();
    for (int rows : {0, 1, 2}) {
        list.rowsPerPage = rows;
        PlayIndex(5);
        // A page of one record each (the group crosses pages).
        EXPECT_EQ(list.selectedRow, 0) << rows;
        EXPECT_GE(list.groupPage, 6) << rows;
    }
}

TEST_F(PlaybackPanelTest, EachPaneKeepsItsOwnRecordTimes)
{
    // Files still being written: their names' two times agree, the engine
    // gave the records their ends. Channel 2 started 10 s after channel 1.
    list.allRecords.push_back(Rec(1, 83000, 83100, true, L"100", 83000, 83000));
    list.allRecords.push_back(Rec(2, 83010, 83110, true, L"100", 83010, 83010));
    PlayIndex(0);
    EXPECT_EQ(panel->groupStart[2], 0);
    // Each pane's cut to AVI reads the range from its own recording.
    AviSource source;
    ASSERT_TRUE(page->panes[1].CutSource(source));
    EXPECT_EQ(source.folder, folder);
    EXPECT_EQ(source.name, L"100-02-083010-083010-00p000.h264");
    EXPECT_EQ(source.parseName, L"201-02-083010-083110-02p000.h264");
    ASSERT_TRUE(page->panes[0].CutSource(source));
    EXPECT_EQ(source.parseName, L"201-01-083000-083100-02p000.h264");
    EXPECT_FALSE(page->panes[2].CutSource(source));  // plays nothing
}

TEST_F(PlaybackPanelTest, TheSelectedPaneIsFramedRedAndEachFramingRepaintsTheCaption)
{
    CWnd caption;
    ASSERT_TRUE(caption.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    g_hMainWnd = caption.m_hWnd;
    MSG msg;
    while (PeekMessageW(&msg, caption.m_hWnd, WM_REPAINT_CAPTION, WM_REPAINT_CAPTION, PM_REMOVE)) {
    }
    page->panes[3].SetSelected(1);
    page->panes[4].SetSelected(0);
    int posted = 0;
    while (PeekMessageW(&msg, caption.m_hWnd, WM_REPAINT_CAPTION, WM_REPAINT_CAPTION, PM_REMOVE))
        ++posted;
    EXPECT_EQ(posted, 2);
    EXPECT_EQ(page->panes[3].selected, 1);
    g_hMainWnd = nullptr;

    // A click selects a pane (and frames it), a pane index past the eighth
    // changes nothing.
    SendMessageW(page->m_hWnd, WM_VIDEO_CLICKED, 5, 0);
    EXPECT_EQ(page->selectedPane, 5);
    EXPECT_EQ(page->panes[5].selected, 1);
    SendMessageW(page->m_hWnd, WM_VIDEO_CLICKED, 8, 0);
    SendMessageW(page->m_hWnd, WM_VIDEO_DBLCLICKED, 8, 0);
    EXPECT_EQ(page->selectedPane, 5);
}

TEST_F(PlaybackPanelTest, ClosingThePageStopsTheEngineWhileThePanesAreThere)
{
    TwoGroups();
    PlayIndex(0);
    std::vector<HWND> panes;
    for (CDlgVideo& p : page->panes)
        panes.push_back(p.VideoWindow());
    int alive = 0;
    Fake().onStop = [&](int) {
        for (HWND h : panes)
            alive += IsWindow(h) ? 1 : 0;
    };
    page->DestroyWindow();
    EXPECT_EQ(Count("Stop"), 8);
    EXPECT_EQ(alive, 8 * 8);
    EXPECT_EQ(Count("EraseDecoder"), 1);
    EXPECT_FALSE(Fake().open);
}

TEST_F(PlaybackPanelTest, PreviousAndNextStepOverTheGroup)
{
    TwoGroups();
    PlayIndex(5);
    panel->PreviousFile();
    EXPECT_EQ(OpenedPaths().back(), PathOf(3));
    EXPECT_EQ(panel->savedIndex, 3);
    panel->NextFile();
    EXPECT_EQ(panel->currentIndex, 4);
    EXPECT_EQ(OpenedPaths().back(), PathOf(7));
    // After the last group nothing is left: stopped.
    panel->NextFile();
    EXPECT_EQ(panel->decoder, nullptr);
    EXPECT_EQ(Count("CreateDecoder"), 3);
}

TEST_F(PlaybackPanelTest, SeekAndStep)
{
    TwoGroups();
    PlayIndex(0);
    panel->positionSlider.SetPos(12345, true);
    SendMessageW(panel->m_hWnd, WM_STEP_FRAME, 1, 0);
    EXPECT_EQ(Fake().calls[Fake().calls.size() - 2].name, "SetPlayTime");
    EXPECT_EQ(Fake().calls[Fake().calls.size() - 2].a, 12345);
    EXPECT_EQ(Fake().calls.back().name, "PlayOneByOne");
    EXPECT_EQ(panel->playState, kPausedOrStepped);

    NMHDR release = {panel->positionSlider.m_hWnd, IDC_POSITION_SLIDER, UINT(NM_RELEASEDCAPTURE)};
    panel->positionSlider.dragging = 1;
    SendMessageW(panel->m_hWnd, WM_NOTIFY, IDC_POSITION_SLIDER, reinterpret_cast<LPARAM>(&release));
    EXPECT_EQ(panel->positionSlider.dragging, 0);
    EXPECT_EQ(panel->playState, kPlaying);
    EXPECT_EQ(Count("SetPlayTime"), 2);

    // Timer 1 follows the engine's position.
    Fake().playTimeMs = 4321;
    wintest::PumpUntil([&] { return panel->positionSlider.GetPos() == 4321; }, 3000);
    EXPECT_EQ(panel->positionSlider.GetPos(), 4321);
}

TEST_F(PlaybackPanelTest, VolumeMovedByKeysIsHeardAtOnceAndSoundOffKeepsItSilent)
{
    TwoGroups();
    PlayIndex(0);
    HWND slider = panel->volumeSlider.m_hWnd;
    const int before = Count("SetVolume");
    // Page Down on the slider: a page (327) louder, no mouse capture at all.
    SendMessageW(slider, WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(slider, WM_KEYUP, VK_NEXT, 0);
    const int moved = int(SendMessageW(slider, TBM_GETPOS, 0, 0));
    EXPECT_EQ(moved, 0x8000 + 327);
    ASSERT_GT(Count("SetVolume"), before);
    EXPECT_EQ(fake_engine::Last("SetVolume").a, moved);
    EXPECT_EQ(panel->volume, moved);

    // Sound off: silent, and moving the slider keeps it silent.
    panel->ToggleSound();
    EXPECT_EQ(fake_engine::Last("SetVolume").a, 0);
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(fake_engine::Last("SetVolume").a, 0);
    // Sound on: the slider's position as it is now.
    panel->ToggleSound();
    EXPECT_EQ(fake_engine::Last("SetVolume").a, moved + 1);
}

TEST_F(PlaybackPanelTest, OneSnapshotNoticeListsEveryChannelsFileSavedOrNot)
{
    TwoGroups();
    PlayIndex(0);
    // The engine writes channels 1 and 3; for 2 and 4 it answers 0 all
    // the same (no picture yet).
    Fake().capturingChannels = {0, 2};
    std::vector<std::string> launched;
    panel->notice.launch = [&](const std::string& command) { launched.push_back(command); };
    panel->CaptureSnapshot();
    ASSERT_EQ(Count("CaptureBMP"), 4);
    std::vector<std::string> written;
    for (int k = 0; k < 4; ++k) {
        const std::string name = Fake().calls[Fake().calls.size() - 4 + size_t(k)].path;
        written.push_back(name);
        files.push_back(CString::FromAnsi(name));
        EXPECT_EQ(name.rfind(Ansi(folder), 0), 0u) << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".bmp");
    }
    const HWND notice = panel->notice.m_hWnd;
    ASSERT_TRUE(IsWindowVisible(notice));
    EXPECT_EQ(CString::WindowText(notice), L"Notice");
    EXPECT_EQ(CString::WindowText(GetDlgItem(notice, IDOK)), L"Open Folder");
    EXPECT_EQ(CString::WindowText(GetDlgItem(notice, IDCANCEL)), L"CLOSE(10)");
    const std::string text = Ansi(CString::WindowText(GetDlgItem(notice, IDC_NOTICE_TEXT)));
    const std::string failed = Ansi(holder.Text(IDS_SNAPSHOT_FAILED));
    EXPECT_EQ(text, written[0] + " saved OK.\r\n" + written[1] + " " + failed + "\r\n" + written[2] +
                        " saved OK.\r\n" + written[3] + " " + failed);

    // The folder button opens the one folder, quoted.
    SendMessageW(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(notice, IDOK)));
    const std::string dir = Ansi(folder.substr(0, folder.size() - 1));
    EXPECT_EQ(launched, std::vector<std::string>{"explorer.exe \"" + dir + "\""});
    EXPECT_TRUE(IsWindowVisible(notice));

    // Nothing written at all: every line says so and the button opens nothing.
    Fake().capturingChannels.clear();
    launched.clear();
    panel->CaptureSnapshot();
    const std::string none = Ansi(CString::WindowText(GetDlgItem(notice, IDC_NOTICE_TEXT)));
    EXPECT_EQ(none.find("saved OK."), std::string::npos) << none;
    EXPECT_NE(none.find(failed), std::string::npos) << none;
    SendMessageW(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(notice, IDOK)));
    EXPECT_TRUE(launched.empty());
    for (size_t k = 0; k < 4; ++k)
        files.push_back(CString::FromAnsi(Fake().calls[Fake().calls.size() - 4 + k].path));
}

TEST_F(PlaybackPanelTest, TheNoticeCountsDownHidesAndStaysHiddenAfterCancel)
{
    CDlgDelayNotiFy& notice = panel->notice;
    HWND close = GetDlgItem(notice.m_hWnd, IDCANCEL);
    notice.ShowNotice(L"Notice", L"text", {}, 2);
    EXPECT_TRUE(IsWindowVisible(notice.m_hWnd));
    EXPECT_EQ(CString::WindowText(close), L"CLOSE(02)");
    EXPECT_TRUE(wintest::PumpUntil([&] { return CString::WindowText(close) == L"CLOSE(01)"; }, 2500));
    EXPECT_TRUE(IsWindowVisible(notice.m_hWnd));
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(notice.m_hWnd); }, 2500));

    notice.ShowNotice(L"Notice", L"text", {}, 0);
    EXPECT_FALSE(IsWindowVisible(notice.m_hWnd));

    notice.ShowNotice(L"Notice", L"text", {}, 5);
    EXPECT_TRUE(IsWindowVisible(notice.m_hWnd));
    SendMessageW(notice.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(close));
    EXPECT_FALSE(IsWindowVisible(notice.m_hWnd));
    wintest::Pump(1500);
    EXPECT_FALSE(IsWindowVisible(notice.m_hWnd));
    EXPECT_EQ(notice.secondsLeft, 0);
}

namespace {

void ReleaseSliderAt(CDlgPlayBkCtrl* panel, int ms)
{
    panel->positionSlider.SetPos(ms, true);
    NMHDR release = {panel->positionSlider.m_hWnd, IDC_POSITION_SLIDER, UINT(NM_RELEASEDCAPTURE)};
    SendMessageW(panel->m_hWnd, WM_NOTIFY, IDC_POSITION_SLIDER, reinterpret_cast<LPARAM>(&release));
}

}  // namespace

// Each report carries the number of its group, which changes with every
// open and whenever what the engine said before stops being true: a seek,
// a turn of direction. An end queued before a seek back into the channel
// is no end any more.
TEST_F(PlaybackPanelTest, ReportsMadeBeforeASeekAreDroppedByTheirGroupNumber)
{
    TwoGroups();
    PlayIndex(0);
    const uint32_t opened = panel->reports.Current();
    fake_engine::ReportEnd(0);
    fake_engine::ReportInfoFrame();
    ReleaseSliderAt(panel, 5000);
    EXPECT_NE(panel->reports.Current(), opened);
    wintest::Pump(200);
    EXPECT_EQ(panel->channelFound[0], 1) << "an end from before the seek was taken";
    EXPECT_EQ(Count("SetSynChannel"), 0);
    // One made after it is taken.
    fake_engine::ReportEnd(0);
    wintest::Pump(200);
    EXPECT_EQ(panel->channelFound[0], 0);
    EXPECT_EQ(Count("SetSynChannel"), 1);
    // Turning backwards: the forward ends before it are no ends.
    fake_engine::ReportEnd(1);
    panel->Rewind();
    panel->Faster();
    wintest::Pump(200);
    EXPECT_EQ(panel->channelFound[1], 1);
}

// Backwards into the start of the group: held there, paused, every channel
// started again forwards from its start with the lead set on the first to
// start and the information callback on it (the engine moved the lead at
// each end on the way back); PLAY plays on from there.
TEST_F(PlaybackPanelTest, ReversePlayHeldAtTheStartLeadsWithAnOpenPlayingChannel)
{
    TwoGroups();
    PlayIndex(0);
    panel->Rewind();
    Fake().calls.clear();
    Fake().syncChannel = 3;  // where the engine left the lead going back
    // Channel 4 comes to its start first, the others just after it.
    for (int k : {3, 0, 1, 2})
        fake_engine::ReportEnd(k);
    wintest::Pump(200);
    EXPECT_EQ(CString::WindowText(panel->GetDlgItem(IDC_RATE_LABEL)), L"PAUSE");
    EXPECT_EQ(panel->reverse, 0);
    ASSERT_EQ(Count("SetSynChannel"), 1);
    EXPECT_EQ(fake_engine::Last("SetSynChannel").a, 0);
    EXPECT_EQ(Count("SetInfoFrameCallBack"), 1);
    EXPECT_EQ(Count("Play"), 4);
    EXPECT_EQ(fake_engine::Last("SetPlayTime").a, 0);
    // The other channels' ends on the way back came after: none counts.
    EXPECT_EQ(Count("SetSynChannel"), 1);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(panel->channelFound[k], 1) << k;
    EXPECT_EQ(panel->resyncPosition, 1);

    panel->Play();
    EXPECT_EQ(CString::WindowText(panel->GetDlgItem(IDC_RATE_LABEL)), L"1X");
    EXPECT_EQ(Fake().calls.back().name, "Pause");
    EXPECT_EQ(Fake().calls.back().a, 0);
    // Information comes from the lead again.
    const size_t blocks = PendingBlockCount();
    fake_engine::ReportInfoFrame();
    EXPECT_EQ(PendingBlockCount(), blocks + 1);
    wintest::Pump(200);
    EXPECT_EQ(PendingBlockCount(), blocks);
}

// The slider and the total span the group, from its earliest start to its
// latest end, whichever channel leads: a first file cut short, a channel
// that started late.
TEST_F(PlaybackPanelTest, TheSliderAndTheTotalSpanTheWholeGroup)
{
    // Channel 3 from 08:30:20 to 08:30:50 beside three of 08:30:00-08:30:30.
    for (int c : {1, 2, 4})
        list.allRecords.push_back(Rec(c, 83000, 83030));
    list.allRecords.push_back(Rec(3, 83020, 83050));
    Fake().durationMs = 30000;
    PlayIndex(0);
    EXPECT_EQ(panel->positionSlider.RangeMax(), 50000);
    EXPECT_EQ(g_Settings.totalTimeText, " / 00:50");
    ASSERT_EQ(panel->channelPath[2], list.allRecords[3].path);
    // Channel 1 ends at 30 s: channel 3, ending last, leads; the span stays.
    Fake().playTimeMs = 30000;
    fake_engine::ReportEnd(0);
    wintest::Pump(100);
    EXPECT_EQ(fake_engine::Last("SetSynChannel").a, 2);
    EXPECT_EQ(panel->positionSlider.RangeMax(), 50000);
    EXPECT_EQ(g_Settings.totalTimeText, " / 00:50");
    // A seek back to 10 s plays channel 1 again and it leads.
    const int plays = Count("Play");
    ReleaseSliderAt(panel, 10000);
    EXPECT_EQ(Count("Play"), plays + 1);
    EXPECT_EQ(fake_engine::Last("Play").a, 0);
    EXPECT_EQ(fake_engine::Last("SetPlayTime").a, 10000);
    EXPECT_EQ(fake_engine::Last("SetSynChannel").a, 0);
    EXPECT_EQ(panel->channelFound[0], 1);

    // The first channel's file holds 20 s of a minute its name promises.
    panel->StopAll();
    list.allRecords.clear();
    for (int c = 1; c <= 4; ++c)
        list.allRecords.push_back(Rec(c, 90000, 90100));
    Fake().durationMs = 20000;
    PlayIndex(0);
    EXPECT_EQ(panel->positionSlider.RangeMax(), 60000);
    EXPECT_EQ(g_Settings.totalTimeText, " / 01:00");
    Fake().playTimeMs = 20000;
    fake_engine::ReportEnd(0);
    wintest::Pump(100);
    EXPECT_EQ(panel->positionSlider.RangeMax(), 60000);
    // A seek to 45 s leaves the cut channel at its end.
    const int before = Count("Play");
    ReleaseSliderAt(panel, 45000);
    EXPECT_EQ(Count("Play"), before);
    EXPECT_EQ(panel->channelFound[0], 0);
}
