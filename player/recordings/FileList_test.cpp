// The recording list and the search panel in the real main dialog, over
// recordings the record writer makes, probed through the engine.
#include "app/MainDialog.h"
#include "testing/MainDialogFixture.h"

#include "AppSettings.h"
#include "testing/FakeEngine.h"
#include "LanguageHolder.h"
#include "PostedBlock.h"
#include "testing/RecordingTree.h"
#include "StringIds.h"
#include "UiThread.h"
#include "WinApp.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

using fixture::Recording;
using fixture::RecordingName;
using fixture::TempTree;
using fixture::WriteRecording;
using wintest::Pump;
using wintest::PumpUntil;

namespace {

std::atomic<int> g_offThreadTouches{0};
void CountTouch(const char*)
{
    ++g_offThreadTouches;
}

std::wstring ItemText(HWND list, int row, int column)
{
    wchar_t text[128] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::wstring HeaderText(HWND list, int column)
{
    wchar_t text[64] = {};
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT;
    col.pszText = text;
    col.cchTextMax = 64;
    SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&col));
    return text;
}

LPARAM ItemData(HWND list, int row)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

std::wstring Hms(int hms)
{
    wchar_t text[16];
    swprintf(text, 16, L"%02d:%02d:%02d", hms / 10000, hms / 100 % 100, hms % 100);
    return text;
}

// 25 recordings: five minutes of four channels and one more, written in
// reverse so that the list has to sort them. Record i: channel i % 4 + 1,
// starting at 08:0m:00 with m = i / 4.
void WriteTwentyFive(const TempTree& tree)
{
    for (int i = 24; i >= 0; --i) {
        Recording r{i % 4 + 1};
        r.startHms = 80000 + (i / 4) * 100;
        r.endHms = r.startHms + 100;
        ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(r.channel, r.startHms, r.endHms)), r));
    }
}

class FileListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousReport = SetUiThreadReport(&CountTouch);
        g_offThreadTouches = 0;
        // What reaches the playback is counted by a fake engine.
        fake_engine::Reset();
        dlg = OpenMainDialog([](CTORQUELIANDlg& d) { d.playbackPage.controlPanel.engine = &fake_engine::Table(); });
        ASSERT_NE(dlg, nullptr);
        Pump(700);  // the start-up language choice runs after 500 ms
        dlg->searchPanel.SetEnglish();
        list = &dlg->fileList;
        listControl = list->ListControl();
    }
    void TearDown() override
    {
        CloseMainDialog(dlg);
        dlg = nullptr;
        g_Settings.bkColor = 0;
        EXPECT_EQ(g_offThreadTouches.load(), 0) << "a window object was touched off its thread";
        SetUiThreadReport(previousReport);
        EXPECT_EQ(PendingBlockCount(), 0u);
    }

    // The main window's client height that gives the list dialog 261
    // pixels (84% of 464, less the 128 above it; a list 200 high): eleven
    // records a page.
    void MakeElevenAPage()
    {
        RECT window, client;
        GetWindowRect(dlg->m_hWnd, &window);
        GetClientRect(dlg->m_hWnd, &client);
        const int frame = (window.bottom - window.top) - client.bottom;
        SetWindowPos(dlg->m_hWnd, nullptr, 0, 0, window.right - window.left, 464 + frame,
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump(50);
        ASSERT_EQ(list->GetClientRect().bottom, 261);
        ASSERT_EQ(list->RecordsPerPage(), 11);
    }

    void Search(const std::wstring& root)
    {
        dlg->searchPanel.SearchPath(root);
        ASSERT_TRUE(PumpUntil([this] { return !list->scanBusy; }, 30000));
        Pump(20);
    }

    void Press(int id) { SendMessageW(list->GetDlgItem(id), BM_CLICK, 0, 0); }

    void ChooseType(int type)
    {
        HWND combo = dlg->searchPanel.GetDlgItem(IDC_TYPE_LIST);
        SendMessageW(combo, CB_SETCURSEL, type, 0);
        SendMessageW(dlg->searchPanel.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TYPE_LIST, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }

    void Notify(UINT code, int row)
    {
        NMITEMACTIVATE n = {};
        n.hdr.hwndFrom = listControl;
        n.hdr.idFrom = IDC_RECORD_LIST;
        n.hdr.code = code;
        n.iItem = row;
        SendMessageW(list->m_hWnd, WM_NOTIFY, IDC_RECORD_LIST, reinterpret_cast<LPARAM>(&n));
    }

    int Rows() const { return ListView_GetItemCount(listControl); }
    std::wstring PageLabel() const
    {
        return CString::WindowText(list->GetDlgItem(IDC_PAGE_NUMBER)) + L"/" +
               CString::WindowText(list->GetDlgItem(IDC_PAGE_COUNT));
    }
    // Channel and start time of each row, as "1 08:00:00".
    std::vector<std::wstring> RowKeys() const
    {
        std::vector<std::wstring> keys;
        for (int r = 0; r < Rows(); ++r)
            keys.push_back(ItemText(listControl, r, 0) + L" " + ItemText(listControl, r, 2));
        return keys;
    }
    static std::vector<std::wstring> KeysOf(int first, int count)
    {
        std::vector<std::wstring> keys;
        for (int i = first; i < first + count; ++i)
            keys.push_back(std::to_wstring(i % 4 + 1) + L" " + Hms(80000 + (i / 4) * 100));
        return keys;
    }

    CTORQUELIANDlg* dlg = nullptr;
    CDlgFileList* list = nullptr;
    HWND listControl = nullptr;
    UiThreadReport previousReport = nullptr;
};

}  // namespace

TEST_F(FileListTest, TwentyFiveRecordingsInPagesOfEleven)
{
    TempTree tree(L"pages");
    WriteTwentyFive(tree);
    MakeElevenAPage();
    Search(tree.Root());

    EXPECT_EQ(list->pageCount, 3);
    EXPECT_EQ(PageLabel(), L"1/3");
    EXPECT_EQ(RowKeys(), KeysOf(0, 11));  // time order, the channels of one time in order
    EXPECT_EQ(ItemText(listControl, 0, 1), L"2026-12-10");
    EXPECT_EQ(ItemText(listControl, 0, 3), L"08:01:00");
    EXPECT_EQ(ItemText(listControl, 0, 4), L"Normal Video");
    EXPECT_EQ(ItemText(listControl, 0, 5), L"0.1M");

    Press(IDC_PREV_PAGE);  // on page 1: nothing
    EXPECT_EQ(list->currentPage, 1);
    EXPECT_EQ(RowKeys(), KeysOf(0, 11));

    Press(IDC_LAST_PAGE);
    EXPECT_EQ(list->currentPage, 3);
    EXPECT_EQ(PageLabel(), L"3/3");
    EXPECT_EQ(RowKeys(), KeysOf(22, 3));
    EXPECT_EQ(ItemData(listControl, 0), 22);

    Press(IDC_NEXT_PAGE);  // on the last page: nothing
    EXPECT_EQ(list->currentPage, 3);
    EXPECT_EQ(RowKeys(), KeysOf(22, 3));

    Press(IDC_PREV_PAGE);
    EXPECT_EQ(PageLabel(), L"2/3");
    EXPECT_EQ(RowKeys(), KeysOf(11, 11));
    Press(IDC_FIRST_PAGE);
    EXPECT_EQ(PageLabel(), L"1/3");
    EXPECT_EQ(RowKeys(), KeysOf(0, 11));
    Press(IDC_NEXT_PAGE);
    EXPECT_EQ(PageLabel(), L"2/3");

    // A row clicked and double-clicked: the record of that row is chosen
    // and handed to the playback page.
    Notify(NM_CLICK, 2);
    EXPECT_EQ(list->selectedPath, tree.Path(RecordingName(2, 80300, 80400)));  // record 13
    EXPECT_EQ(dlg->playbackPage.controlPanel.currentIndex, 13);
    Notify(NM_DBLCLK, 2);
    EXPECT_EQ(fake_engine::Count("CreateDecoder"), 1);
    EXPECT_EQ(dlg->playbackPage.controlPanel.channelPath[1], tree.Path(RecordingName(2, 80300, 80400)));
    EXPECT_EQ(list->selectedRow, 2);
    Notify(NM_DBLCLK, 11);  // no such row
    Notify(NM_CLICK, -1);
    EXPECT_EQ(fake_engine::Count("CreateDecoder"), 1);
}

TEST_F(FileListTest, TextsOfTheListInEachLanguage)
{
    TempTree tree(L"texts");
    Recording alarm{2, 1};
    ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(2, 83000, 83100, L'3')), alarm));
    Search(tree.Root());
    struct Case {
        void (CDlgSearchPannel::*apply)();
        std::vector<std::wstring> headers;
        const wchar_t* first;
        const wchar_t* kind;
        const wchar_t* typeEntry;
    } cases[] = {
        {&CDlgSearchPannel::SetEnglish, {L"CHN", L"DATE", L"BEGIN", L"END", L"TYPE", L"SIZE"}, L"FIRST",
         L"Impact Alarm", L"All Types"},
        {&CDlgSearchPannel::SetSimplifiedChinese, {L"通道", L"日期", L"开始", L"结束", L"类型", L"大小"}, L"首页",
         L"碰撞报警", L"所有类型"},
        {&CDlgSearchPannel::SetTraditionalChinese, {L"通道", L"日期", L"開始", L"結束", L"類型", L"大小"},
         L"首頁", L"碰撞警報", L"所有類型"},
    };
    for (const Case& c : cases) {
        (dlg->searchPanel.*c.apply)();
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(HeaderText(listControl, i), c.headers[size_t(i)]);
        EXPECT_EQ(CString::WindowText(list->GetDlgItem(IDC_FIRST_PAGE)), c.first);
        EXPECT_EQ(ItemText(listControl, 0, 4), c.kind);
        EXPECT_EQ(CString::WindowText(dlg->searchPanel.GetDlgItem(IDC_TYPE_LIST)), c.typeEntry);
    }
    // The progress box's text, whatever the code page.
    EXPECT_EQ(CString::WindowText(list->progressBox.GetDlgItem(IDC_PROGRESS_TEXT)), L"播放列表生成中...");
}

TEST_F(FileListTest, ASearchDuringAScanRunsNext)
{
    TempTree first(L"first"), second(L"second");
    for (int c = 1; c <= 4; ++c)
        ASSERT_TRUE(WriteRecording(first.Path(RecordingName(c, 83000, 83100)), Recording{c}));
    ASSERT_TRUE(WriteRecording(second.Path(RecordingName(5, 90000, 90100)), Recording{5}));
    ASSERT_TRUE(WriteRecording(second.Path(RecordingName(6, 90000, 90100)), Recording{6}));

    dlg->searchPanel.SearchPath(first.Root());
    ASSERT_TRUE(list->scanBusy);
    EXPECT_TRUE(IsWindowVisible(list->progressBox.m_hWnd));
    Press(IDC_NEXT_PAGE);  // ignored while scanning
    Notify(NM_DBLCLK, 0);
    EXPECT_EQ(list->currentPage, 1);
    EXPECT_EQ(fake_engine::Count("CreateDecoder"), 0);
    // The path box shows the second folder at once; its search follows.
    dlg->searchPanel.SearchPath(second.Root());
    EXPECT_EQ(CString::WindowText(dlg->searchPanel.GetDlgItem(IDC_PATH_EDIT)), second.Root());
    ASSERT_TRUE(PumpUntil([this] { return !list->scanBusy; }, 30000));
    EXPECT_EQ(RowKeys(), (std::vector<std::wstring>{L"5 09:00:00", L"6 09:00:00"}));
    EXPECT_EQ(list->allRecords.size(), 2u);
    EXPECT_FALSE(IsWindowVisible(list->progressBox.m_hWnd));
    EXPECT_EQ(list->progressBox.GetPos(), 100);

    // A search message without a day empties the rows and keeps the records.
    SendMessageW(list->m_hWnd, WM_SEARCH_DAY, 0, 0);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(list->allRecords.size(), 2u);
}

namespace {

// A post of the scan's result that fails, as on a full queue.
bool LoseResult(HWND, std::unique_ptr<ScanResult>)
{
    return false;
}

}  // namespace

TEST_F(FileListTest, AScanWhoseResultCannotBePostedEndsAndSaysSo)
{
    TempTree tree(L"lost");
    for (int c = 1; c <= 4; ++c)
        ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(c, 83000, 83100)), Recording{c}));
    dlg->searchPanel.SearchPath(tree.Root());
    ASSERT_TRUE(PumpUntil([this] { return !list->scanBusy; }, 30000));
    ASSERT_EQ(Rows(), 4);

    wintest::MessageBoxCloser boxes;
    list->ScanWorker().postResult = &LoseResult;
    list->SearchRootAgain();
    ASSERT_TRUE(list->scanBusy);
    EXPECT_TRUE(PumpUntil([&] { return !list->scanBusy && !boxes.Texts().empty(); }, 30000))
        << "the list stays busy";
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{CurrentText(IDS_SEARCH_LOST)});
    EXPECT_FALSE(IsWindowVisible(list->progressBox.m_hWnd));
    // The records as they were, and the list answers again.
    EXPECT_EQ(Rows(), 4);
    list->ScanWorker().postResult = &CScanWorker::PostScanResult;
    list->SearchRootAgain();
    EXPECT_TRUE(PumpUntil([this] { return !list->scanBusy; }, 30000));
    EXPECT_EQ(Rows(), 4);
}

TEST_F(FileListTest, TheTypeFilterFollowsScansAndLanguages)
{
    TempTree tree(L"types");
    struct File {
        int channel, kind, start;
        wchar_t subType;
    } files[] = {
        {1, 0, 83000, L'0'}, {2, 1, 83000, L'3'}, {3, 0, 83000, L'0'},
        {4, 2, 83000, L'0'}, {1, 1, 83100, L'2'}, {2, 0, 83100, L'0'},
    };
    for (const File& f : files) {
        Recording r{f.channel, f.kind};
        r.startHms = f.start;
        r.endHms = f.start + 100;
        ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(f.channel, f.start, f.start + 100, f.subType)), r));
    }
    Search(tree.Root());
    EXPECT_EQ(Rows(), 6);
    EXPECT_EQ(ItemText(listControl, 3, 4), L"Others");

    ChooseType(kTypeTimer);
    EXPECT_EQ(RowKeys(), (std::vector<std::wstring>{L"1 08:30:00", L"3 08:30:00", L"2 08:31:00"}));
    ChooseType(kTypeAlarm);
    EXPECT_EQ(RowKeys(), (std::vector<std::wstring>{L"2 08:30:00", L"1 08:31:00"}));
    EXPECT_EQ(ItemText(listControl, 0, 4), L"Impact Alarm");
    EXPECT_EQ(ItemText(listControl, 1, 4), L"Move Alarm");
    EXPECT_EQ(list->pageCount, 1);

    // A language change keeps the type, in the list and in the panel.
    dlg->searchPanel.SetTraditionalChinese();
    EXPECT_EQ(SendMessageW(dlg->searchPanel.GetDlgItem(IDC_TYPE_LIST), CB_GETCURSEL, 0, 0), kTypeAlarm);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(ItemText(listControl, 0, 4), L"碰撞警報");
    dlg->searchPanel.SetEnglish();

    // A new scan shows the chosen type of its own records.
    TempTree other(L"types2");
    Recording normal{7, 0}, alarm{8, 1};
    ASSERT_TRUE(WriteRecording(other.Path(RecordingName(7, 83000, 83100)), normal));
    ASSERT_TRUE(WriteRecording(other.Path(RecordingName(8, 83000, 83100)), alarm));
    Search(other.Root());
    EXPECT_EQ(RowKeys(), (std::vector<std::wstring>{L"8 08:30:00"}));

    // A type chosen during a scan applies when it ends.
    dlg->searchPanel.SearchPath(tree.Root());
    ASSERT_TRUE(list->scanBusy);
    ChooseType(kTypeTimer);
    ASSERT_TRUE(PumpUntil([this] { return !list->scanBusy; }, 30000));
    EXPECT_EQ(RowKeys(), (std::vector<std::wstring>{L"1 08:30:00", L"3 08:30:00", L"2 08:31:00"}));
    ChooseType(kTypeAll);
    EXPECT_EQ(Rows(), 6);
}

TEST_F(FileListTest, MinimisingKeepsThePageAndAResizeRefillsIt)
{
    TempTree tree(L"resize");
    WriteTwentyFive(tree);
    MakeElevenAPage();
    Search(tree.Root());
    Press(IDC_LAST_PAGE);
    ASSERT_EQ(list->currentPage, 3);

    ShowWindow(dlg->m_hWnd, SW_MINIMIZE);
    Pump(200);
    EXPECT_EQ(list->RecordsPerPage(), 11);
    EXPECT_EQ(list->currentPage, 3);
    EXPECT_EQ(RowKeys(), KeysOf(22, 3));
    ShowWindow(dlg->m_hWnd, SW_RESTORE);
    Pump(200);
    EXPECT_EQ(list->RecordsPerPage(), 11);
    EXPECT_EQ(PageLabel(), L"3/3");
    EXPECT_EQ(RowKeys(), KeysOf(22, 3));

    // Taller: all 25 fit one page, which holds the record shown first.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(dlg->m_hWnd, nullptr, 0, 0, work.right - work.left, work.bottom - work.top, SWP_NOZORDER);
    Pump(100);
    ASSERT_GE(list->RecordsPerPage(), 25);
    EXPECT_EQ(PageLabel(), L"1/1");
    EXPECT_EQ(RowKeys(), KeysOf(0, 25));
    EXPECT_EQ(ItemData(listControl, 22), 22);
}

TEST_F(FileListTest, ClosingDuringAScanReturnsPromptly)
{
    TempTree tree(L"close");
    for (int i = 0; i < 500; ++i) {
        Recording r{i % 4 + 1};
        r.startHms = 80000 + (i / 4 / 60) * 10000 + (i / 4 % 60) * 100;
        r.endHms = r.startHms + 59;
        ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(r.channel, r.startHms, r.endHms)), r));
    }
    dlg->searchPanel.SearchPath(tree.Root());
    ASSERT_TRUE(list->scanBusy);
    // The list goes first, as it does when the main window closes (which
    // itself may wait for the window manager here).
    const DWORD start = GetTickCount();
    list->DestroyWindow();
    const DWORD spent = GetTickCount() - start;
    EXPECT_FALSE(list->m_hWnd);
    // Loosely: a scan of 500 files stops at its next file.
    EXPECT_LT(spent, 2000u);
}

TEST_F(FileListTest, TheDropDownListsOpenWithRoomForThreeEntries)
{
    for (int id : {IDC_TYPE_LIST, IDC_LANGUAGE_LIST}) {
        HWND combo = dlg->searchPanel.GetDlgItem(id);
        ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        Pump(50);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        RECT shown;
        GetClientRect(info.hwndList, &shown);
        const int item = int(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
        EXPECT_GE(shown.bottom, 3 * item) << id;
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        Pump(20);
    }
}

TEST_F(FileListTest, DarkSchemeDrawsEveryCellWhiteOnBlack)
{
    TempTree tree(L"dark");
    for (int c = 1; c <= 3; ++c)
        ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(c, 83000, 83100)), Recording{c}));
    Search(tree.Root());
    const RECT cells = wintest::ShownRowCells(listControl, 0);
    ASSERT_GT(cells.right, cells.left);
    auto count = [&](COLORREF colour) {
        UpdateWindow(listControl);
        Pump(50);
        wintest::ScreenCapture shot(listControl);
        return shot.Count(cells.left, cells.top, cells.right, cells.bottom,
                          [colour](COLORREF c) { return wintest::Near(c, colour, 24); });
    };
    const int area = (cells.right - cells.left) * (cells.bottom - cells.top);
    EXPECT_GT(count(RGB(123, 140, 168)), area / 2);  // the light scheme: the list's own colours
    g_Settings.bkColor = 1;
    InvalidateRect(listControl, nullptr, TRUE);
    EXPECT_GT(count(RGB(0, 0, 0)), area / 2);
    EXPECT_GT(count(RGB(255, 255, 255)), 0);
    EXPECT_EQ(count(RGB(123, 140, 168)), 0);
}

TEST_F(FileListTest, PlayingRowsKeepTheSelectionColoursWithoutTheFocus)
{
    TempTree tree(L"highlight");
    for (int c = 1; c <= 2; ++c)
        ASSERT_TRUE(WriteRecording(tree.Path(RecordingName(c, 83000, 83100)), Recording{c}));
    Search(tree.Root());
    const RECT cells = wintest::ShownRowCells(listControl, 0);
    ASSERT_GT(cells.right, cells.left);
    const int area = (cells.right - cells.left) * (cells.bottom - cells.top);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    auto count = [&]() {
        InvalidateRect(listControl, nullptr, TRUE);
        UpdateWindow(listControl);
        Pump(50);
        wintest::ScreenCapture shot(listControl);
        return shot.Count(cells.left, cells.top, cells.right, cells.bottom,
                          [highlight](COLORREF c) { return wintest::Near(c, highlight, 24); });
    };
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(listControl, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    // The focus elsewhere, in both schemes: the row in the selection's
    // colour, not the pale face colour of an unfocused list.
    for (int scheme : {0, 1}) {
        g_Settings.bkColor = scheme;
        SetFocus(dlg->searchPanel.GetDlgItem(IDC_PATH_EDIT));
        Pump(30);
        ASSERT_NE(GetFocus(), listControl);
        EXPECT_GT(count(), area / 2) << scheme;
    }
}

namespace {

// What a column of the list needs to show its header and the cells of the
// rows shown whole: the text, the cell's margins and, in the first
// column, the check box.
int ColumnNeed(HWND list, int column)
{
    HWND header = ListView_GetHeader(list);
    wchar_t text[64] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    HDC dc = GetDC(header);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    SelectObject(dc, old);
    ReleaseDC(header, dc);
    int need = size.cx + 12;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        const std::wstring cell = ItemText(list, row, column);
        const int width = static_cast<int>(
            SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(cell.c_str())));
        const int cellNeed = width + 12 + (column == 0 ? GetSystemMetrics(SM_CXSMICON) + 4 : 0);
        need = cellNeed > need ? cellNeed : need;
    }
    return need;
}

FileRecord WideRecord(int channel, int kind, wchar_t subType, uint64_t size)
{
    FileRecord r = {};
    r.year = 26;
    r.month = 12;
    r.day = 28;
    r.startHour = 23;
    r.startMinute = 58;
    r.startSecond = 48;
    r.endHour = 23;
    r.endMinute = 59;
    r.endSecond = 58;
    r.size = size;
    r.kind = kind;
    r.channel = channel;
    std::wstring name = L"2" + std::wstring(1, subType) + L"8-01-235848-235958-00p000.h264";
    SetRecordName(r, name, L"C:\\card\\" + name);
    return r;
}

}  // namespace

// The list laid out at common screen sizes in each language, over rows of
// every kind and the largest sizes: from 1366 pixels across every column
// shows its widest text without scrolling; narrower, the channel, date,
// begin and end do, and what does not fit is there to scroll to.
TEST_F(FileListTest, EveryColumnFitsAtCommonScreenSizes)
{
    list->allRecords = {WideRecord(8, 0, L'0', 4000000000ull), WideRecord(8, 1, L'2', 4000000000ull),
                        WideRecord(8, 1, L'3', 4000000000ull), WideRecord(8, 1, L'4', 4000000000ull),
                        WideRecord(8, 1, L'0', 4000000000ull), WideRecord(8, 2, L'0', 4000000000ull)};
    list->currentPage = 0;
    list->OnFirstPage();
    const struct {
        int w, h;
    } sizes[] = {{1024, 768}, {1280, 1024}, {1366, 768}, {1920, 1080}};
    const struct {
        void (CDlgSearchPannel::*apply)();
        const char* name;
    } languages[] = {{&CDlgSearchPannel::SetEnglish, "English"},
                     {&CDlgSearchPannel::SetSimplifiedChinese, "Simplified Chinese"},
                     {&CDlgSearchPannel::SetTraditionalChinese, "Traditional Chinese"}};
    for (const auto& size : sizes) {
        dlg->MoveWindow(0, 0, size.w, size.h);
        dlg->LayoutPanelsFor(size.w);
        Pump(60);
        for (const auto& lang : languages) {
            (dlg->searchPanel.*lang.apply)();
            Pump(60);
            ASSERT_EQ(Rows(), 6);
            const std::string where = std::to_string(size.w) + "x" + std::to_string(size.h) + " " + lang.name;
            SendMessageW(listControl, WM_HSCROLL, SB_LEFT, 0);
            RECT client;
            GetClientRect(listControl, &client);
            HWND header = ListView_GetHeader(listControl);
            const int allFit = size.w >= 1366 ? 6 : 4;
            int right = 0;
            for (int c = 0; c < 6; ++c) {
                RECT r = {};
                SendMessageW(header, HDM_GETITEMRECT, c, reinterpret_cast<LPARAM>(&r));
                const int width = ListView_GetColumnWidth(listControl, c);
                const int need = ColumnNeed(listControl, c);
                EXPECT_LE(need, width) << where << ": column " << c << " cuts its text";
                if (c < allFit) {
                    EXPECT_LE(r.left + need, client.right)
                        << where << ": column " << c << " (" << r.left << " + " << need << ") past the list's "
                        << client.right;
                }
                right = r.right;
            }
            // Whatever lies past the list's edge, the scroll bar reaches.
            if (right > client.right) {
                EXPECT_TRUE(GetWindowLongW(listControl, GWL_STYLE) & WS_HSCROLL) << where;
            }
        }
    }
    list->allRecords.clear();
}

namespace {

// What the folder chooser showed once it had opened: its texts and the
// item its tree had selected, if any (and whether that is the tree's root,
// the Desktop). A thread timer reads it while the chooser runs, then cancels.
struct ChooserSeen {
    int looks = 0;  // ticks the chooser has been seen without a selection
    bool opened = false;
    std::vector<std::wstring> texts;
    std::wstring selected;
    bool atRoot = false;
};
ChooserSeen g_chooser;

BOOL CALLBACK ReadChooserText(HWND h, LPARAM)
{
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0 && IsWindowVisible(h))
        g_chooser.texts.push_back(CString::WindowText(h));
    return TRUE;
}

BOOL CALLBACK ReadChooser(HWND h, LPARAM)
{
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    HWND tree = FindWindowExW(h, nullptr, L"SysTreeView32", nullptr);
    if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(h) || !tree)
        return TRUE;
    // The tree fills and selects as the chooser settles: five seconds for it.
    HTREEITEM item = TreeView_GetSelection(tree);
    if (!item && ++g_chooser.looks < 25)
        return FALSE;
    g_chooser.opened = true;
    EnumChildWindows(h, ReadChooserText, 0);
    g_chooser.atRoot = item && item == TreeView_GetRoot(tree);
    wchar_t text[MAX_PATH] = {};
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    if (item && SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv)))
        g_chooser.selected = text;
    PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

void CALLBACK WatchChooser(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_chooser.opened)
        EnumThreadWindows(GetCurrentThreadId(), ReadChooser, 0);
}

}  // namespace

// The "..." beside the storage path: the chooser asks in the program's
// language and opens at the storage path in use (the folder of a chosen
// recording file), or at the Desktop when there is none.
TEST_F(FileListTest, TheFolderChooserAsksInTheLanguageAndOpensAtTheStoragePath)
{
    TempTree tree(L"chooser");
    const std::wstring file = tree.Path(RecordingName(1, 83000, 83100));
    ASSERT_TRUE(WriteRecording(file, Recording{1}));
    Search(tree.Root());
    const std::wstring folderName = tree.Root().substr(tree.Root().find_last_of(L'\\') + 1);
    auto choose = [&] {
        g_chooser = ChooserSeen();
        const UINT_PTR timer = SetTimer(nullptr, 0, 200, &WatchChooser);
        SendMessageW(dlg->searchPanel.GetDlgItem(IDC_BROWSE), BM_CLICK, 0, 0);
        KillTimer(nullptr, timer);
        Pump(50);
    };
    // Under Wine the first chooser of a process does not always go to the
    // folder it is sent to (the later ones do): one opening first.
    choose();
    ASSERT_TRUE(g_chooser.opened);
    const struct {
        void (CDlgSearchPannel::*apply)();
        const wchar_t* prompt;
    } languages[] = {{&CDlgSearchPannel::SetEnglish, L"Choose the storage path"},
                     {&CDlgSearchPannel::SetSimplifiedChinese, L"选择路径"},
                     {&CDlgSearchPannel::SetTraditionalChinese, L"選擇路徑"}};
    for (const auto& l : languages) {
        (dlg->searchPanel.*l.apply)();
        choose();
        ASSERT_TRUE(g_chooser.opened);
        const bool asked = std::find(g_chooser.texts.begin(), g_chooser.texts.end(), l.prompt) != g_chooser.texts.end();
        EXPECT_TRUE(asked) << "no prompt \"" << CString(l.prompt).ToAnsi() << "\"";
        EXPECT_EQ(g_chooser.selected, folderName) << CString(l.prompt).ToAnsi() << " looks " << g_chooser.looks;
    }
    // Cancelled: the storage path and the rows as they were.
    EXPECT_EQ(dlg->searchPanel.storagePath, tree.Root());
    EXPECT_EQ(Rows(), 1);

    dlg->searchPanel.ShowStoragePath(file);
    choose();
    EXPECT_EQ(g_chooser.selected, folderName);
    dlg->searchPanel.ShowStoragePath(tree.Root() + L"\\gone");
    choose();
    ASSERT_TRUE(g_chooser.opened);
    // At the Desktop: its item, or none yet.
    EXPECT_TRUE(g_chooser.atRoot || g_chooser.selected.empty()) << CString(g_chooser.selected).ToAnsi();
}
