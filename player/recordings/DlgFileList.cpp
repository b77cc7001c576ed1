#include "recordings/DlgFileList.h"

#include "AppSettings.h"
#include "DataExchange.h"
#include "playback/DlgPlayBack.h"
#include "recordings/FileListLayout.h"
#include "TextExtent.h"
#include "recordings/FolderChooser.h"
#include "LanguageHolder.h"
#include "recordings/ListPages.h"
#include "app/MainWindow.h"
#include "PostedBlock.h"
#include "PrivateMessages.h"
#include "recordings/RecordRows.h"
#include "StringIds.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

namespace {

const COLORREF kPanelColour = RGB(88, 92, 95);
const COLORREF kListColour = RGB(123, 140, 168);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// The header texts the dialog starts with, before the first relabelling.
const wchar_t* const kFirstHeaders[6] = {L"通道", L"日期", L"开始", L"结束", L"类型", L"大小"};

bool Dark()
{
    return g_Settings.bkColor == 1;
}

void SetItemText(HWND list, int item, int column, const std::wstring& text)
{
    LVITEMW sub = {};
    sub.iSubItem = column;
    sub.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&sub));
}

void Place(HWND control, const PanelRect& r)
{
    if (control)
        ::MoveWindow(control, r.x, r.y, r.w, r.h, TRUE);
}

}  // namespace

BEGIN_MESSAGE_TABLE(CDlgFileList, CDialog)
    OnMessage<&CDlgFileList::OnSize>(WM_SIZE),
    OnMessage<&CDlgFileList::OnDestroy>(WM_DESTROY),
    OnMessage<&CDlgFileList::OnSearchDay>(WM_SEARCH_DAY),
    OnMessage<&CDlgFileList::OnScanProgress>(WM_SCAN_PROGRESS),
    OnMessage<&CDlgFileList::OnScanDone>(WM_SCAN_DONE),
    OnCommand<&CDlgFileList::OnFirstPage>(IDC_FIRST_PAGE, BN_CLICKED),
    OnCommand<&CDlgFileList::OnPrevPage>(IDC_PREV_PAGE, BN_CLICKED),
    OnCommand<&CDlgFileList::OnNextPage>(IDC_NEXT_PAGE, BN_CLICKED),
    OnCommand<&CDlgFileList::OnLastPage>(IDC_LAST_PAGE, BN_CLICKED),
    OnCommand<&CDlgFileList::SearchRemovableDrives>(IDC_SD_SEARCH, BN_CLICKED),
    OnCommand<&CDlgFileList::OnChooseLocalDir>(IDC_LOCAL_DIR, BN_CLICKED),
    OnCommand<&CDlgFileList::SearchRootAgain>(IDC_LOCAL_SEARCH, BN_CLICKED),
    OnNotify<&CDlgFileList::OnRowClick>(NM_CLICK, IDC_RECORD_LIST),
    OnNotify<&CDlgFileList::OnRowDblClick>(NM_DBLCLK, IDC_RECORD_LIST),
    OnNotify<&CDlgFileList::OnCustomDraw>(NM_CUSTOMDRAW, IDC_RECORD_LIST),
    OnMessages<&CDlgFileList::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
END_MESSAGE_TABLE()

CDlgFileList::CDlgFileList() : CDialog(IDD_FILE_LIST)
{
    m_brush.CreateSolidBrush(kPanelColour);
}

CDlgFileList::~CDlgFileList()
{
    // While the whole object is still there: WM_DESTROY joins the worker.
    if (m_hWnd)
        DestroyWindow();
}

void CDlgFileList::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_PAGE_NUMBER, shownPage);
    DDX_Text(dx, IDC_PAGE_COUNT, pageCount);
}

BOOL CDlgFileList::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (g_Settings.language)
        g_Settings.language->fileList = this;

    HWND list = ListControl();
    ::SendMessageW(list, LVM_SETBKCOLOR, 0, Dark() ? kBlack : kListColour);
    ::SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, kListColour);
    ::SendMessageW(list, LVM_SETTEXTCOLOR, 0, kWhite);
    int widths[6];
    FileListColumnWidths(GetClientRect().right, widths);
    for (int i = 0; i < 6; ++i) {
        LVCOLUMNW col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        col.fmt = LVCFMT_LEFT;
        col.cx = widths[i];
        col.pszText = const_cast<wchar_t*>(kFirstHeaders[i]);
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    // The whole extended style at once.
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(-1),
                   LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);

    UpdateData(false);
    // The box sits over the main window at screen position (30, 400). It is
    // the main window's child, not a window of its own: hiding a top-level
    // window may wait for the window manager.
    CWnd* top = CWnd::FromHandlePermanent(::GetAncestor(m_hWnd, GA_ROOT));
    if (top && top != this && progressBox.Create(top)) {
        POINT at = {30, 400};
        ::ScreenToClient(top->m_hWnd, &at);
        ::SetWindowPos(progressBox.m_hWnd, HWND_TOP, at.x, at.y, 170, 30, SWP_NOACTIVATE);
        progressBox.progressBar.SendMessage(PBM_SETRANGE32, 0, 100);
        progressBox.SetPos(0);
    }
    return TRUE;
}

const std::vector<FileRecord>& CDlgFileList::ShownRecords() const
{
    return typeIndex == kTypeAll ? allRecords : typeRecords;
}

int CDlgFileList::RecordsPerPage() const
{
    return ::RecordsPerPage(rowsPerPage);
}

CDlgPlayBkCtrl* CDlgFileList::ControlPanel() const
{
    CDlgPlayBack* page = g_Settings.language ? g_Settings.language->playbackPage : nullptr;
    return page ? &page->controlPanel : nullptr;
}

// --- Layout ---------------------------------------------------------------

void CDlgFileList::OnSize(Message& m)
{
    m.handled = false;
    HWND list = ListControl();
    if (!list)
        return;
    // A minimised main window gives the list no size to page by.
    if (m.wParam == SIZE_MINIMIZED || ::IsIconic(::GetAncestor(m_hWnd, GA_ROOT)))
        return;
    RECT rc = GetClientRect();
    FileListTextWidths texts = {};
    const int row[5] = {IDC_PAGE_BEFORE, IDC_PAGE_NUMBER, IDC_PAGE_BETWEEN, IDC_PAGE_COUNT, IDC_PAGE_AFTER};
    for (int i = 0; i < 5; ++i)
        texts.pageRow[i] = i == 1 || i == 3 ? TextWidth(GetDlgItem(row[i]), L"999") + 4 : OwnTextWidth(GetDlgItem(row[i]));
    const int buttons[4] = {IDC_FIRST_PAGE, IDC_PREV_PAGE, IDC_NEXT_PAGE, IDC_LAST_PAGE};
    for (int i = 0; i < 4; ++i)
        texts.buttons[i] = OwnTextWidth(GetDlgItem(buttons[i]));
    FileListLayout l = ComputeFileListLayout(rc.right, rc.bottom, texts);
    Place(list, l.list);
    for (int i = 0; i < 4; ++i)
        Place(GetDlgItem(buttons[i]), l.pageButtons[i]);
    for (int i = 0; i < 5; ++i)
        Place(GetDlgItem(row[i]), l.pageRow[i]);
    Place(GetDlgItem(IDC_PAGE_BAND_LEFT), l.leftBand);
    Place(GetDlgItem(IDC_PAGE_BAND_RIGHT), l.rightBand);

    // A new page size: the page that holds the first record shown, again.
    const int before = RecordsPerPage();
    rowsPerPage = l.rowsPerPage;
    if (RecordsPerPage() != before && !scanBusy) {
        const size_t first = PageFirstIndex(currentPage, before);
        ShowPage(PageOfIndex(first, RecordsPerPage()));
    }
}

// --- Searches ---------------------------------------------------------------

void CDlgFileList::OnSearchDay(Message& m)
{
    const auto* date = reinterpret_cast<const SearchDate*>(m.wParam);
    if (!date) {
        DeleteAllRows();  // the records stay
        return;
    }
    StartDaySearch(date->year, date->month, date->day);
}

void CDlgFileList::StartDaySearch(int year, int month, int day)
{
    searchDay[0] = static_cast<unsigned char>(year - 2000);
    searchDay[1] = static_cast<unsigned char>(month);
    searchDay[2] = static_cast<unsigned char>(day);
    if (scanBusy) {
        // The path box shows the new root already: search it next.
        m_searchWaiting = true;
        return;
    }
    StartScan(ScanRequest{ScanRequest::Folder, g_Settings.searchRoot});
}

bool CDlgFileList::StartScan(const ScanRequest& request)
{
    if (!m_hWnd)
        return false;
    m_worker.Join();  // the last one has handed its result over and is ending
    scanBusy = 1;
    DeleteAllRows();
    progressBox.SetPos(0);
    if (progressBox.m_hWnd)
        ::SetWindowPos(progressBox.m_hWnd, HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (m_worker.Start(request, m_hWnd))
        return true;
    scanBusy = 0;
    progressBox.ShowWindow(SW_HIDE);
    ShowPage(currentPage);
    return false;
}

void CDlgFileList::OnScanProgress(Message& m)
{
    progressBox.SetPos(static_cast<int>(m.wParam));
}

void CDlgFileList::OnScanDone(Message& m)
{
    std::unique_ptr<ScanResult> result = TakeBlock<ScanResult>(m);
    if (!result) {
        // The worker could not hand its result over: the scan has ended
        // all the same, with the records as they were.
        if (scanBusy && m_worker.HasThread())
            EndLostScan();
        return;
    }
    m_worker.Join();
    if (m_searchWaiting) {
        // This result is of a root no longer asked for.
        m_searchWaiting = false;
        StartScan(ScanRequest{ScanRequest::Folder, g_Settings.searchRoot});
        return;
    }
    scanBusy = 0;
    progressBox.SetPos(100);
    progressBox.ShowWindow(SW_HIDE);
    const bool drives = result->kind == ScanRequest::RemovableDrives;
    if (drives && !result->root.empty())
        g_Settings.searchRoot = result->root;
    allRecords = std::move(result->records);
    ShowFirstPageOfShownList();
    if (drives && allRecords.empty())
        ::MessageBoxW(::GetAncestor(m_hWnd, GA_ROOT), CurrentText(IDS_NO_FILES_FOUND).c_str(), L"", MB_OK | MB_ICONEXCLAMATION);
}

void CDlgFileList::EndLostScan()
{
    m_worker.Join();
    scanBusy = 0;
    progressBox.ShowWindow(SW_HIDE);
    if (m_searchWaiting) {
        m_searchWaiting = false;
        StartScan(ScanRequest{ScanRequest::Folder, g_Settings.searchRoot});
        return;
    }
    ShowFirstPageOfShownList();
    ::MessageBoxW(::GetAncestor(m_hWnd, GA_ROOT), CurrentText(IDS_SEARCH_LOST).c_str(), L"", MB_OK | MB_ICONEXCLAMATION);
}

void CDlgFileList::ApplyTypeFilter(int type)
{
    typeIndex = type;
    if (!scanBusy)
        ShowFirstPageOfShownList();  // a running scan applies it when it ends
}

void CDlgFileList::ShowFirstPageOfShownList()
{
    typeRecords = RecordsOfType(allRecords, typeIndex);
    pageCount = PageCount(ShownRecords().size(), RecordsPerPage());
    ShowPage(1);
}

void CDlgFileList::SearchRemovableDrives()
{
    if (!scanBusy)
        StartScan(ScanRequest{ScanRequest::RemovableDrives, {}});
}

void CDlgFileList::SearchRootAgain()
{
    if (!scanBusy)
        StartScan(ScanRequest{ScanRequest::Folder, g_Settings.searchRoot});
}

void CDlgFileList::OnChooseLocalDir()
{
    std::wstring path;
    if (!ChooseFolder(::GetAncestor(m_hWnd, GA_ROOT), CurrentText(IDS_CHOOSE_PATH).c_str(), BIF_RETURNONLYFSDIRS, path,
                      ChooserStartFolder(g_Settings.searchRoot)))
        return;
    g_Settings.searchRoot = path;
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->ShowSearchRoot(path);
}

void CDlgFileList::OnDestroy(Message& m)
{
    m.handled = false;
    // The worker stops at its next file; its result, if already posted,
    // dies with the window.
    m_worker.Cancel();
    m_worker.Join();
    scanBusy = 0;
    m_searchWaiting = false;
    progressBox.DestroyWindow();
}

// --- Pages ------------------------------------------------------------------

void CDlgFileList::OnFirstPage()
{
    if (scanBusy || currentPage == 1)
        return;
    ShowPage(1);
}

void CDlgFileList::OnPrevPage()
{
    if (scanBusy || currentPage < 2)
        return;
    ShowPage(currentPage - 1);
}

void CDlgFileList::OnNextPage()
{
    if (scanBusy || currentPage >= pageCount)
        return;
    ShowPage(currentPage + 1);
}

void CDlgFileList::OnLastPage()
{
    if (scanBusy || currentPage >= pageCount)
        return;
    ShowPage(pageCount);
}

void CDlgFileList::ShowPage(int page)
{
    const std::vector<FileRecord>& shown = ShownRecords();
    const int per = RecordsPerPage();
    pageCount = PageCount(shown.size(), per);
    currentPage = page < 1 ? 1 : page > pageCount ? pageCount : page;
    size_t index = PageFirstIndex(currentPage, per);
    DeleteAllRows();
    for (int row = 0; row < per && index < shown.size(); ++row, ++index)
        InsertRecordRow(shown[index], row, index);
    nextIndex = static_cast<int>(index);
    HighlightPlayingRows();
    shownPage = currentPage;
    UpdateData(false);
    if (HWND list = ListControl())
        ::UpdateWindow(list);
}

void CDlgFileList::DeleteAllRows()
{
    if (HWND list = ListControl())
        ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

void CDlgFileList::InsertRecordRow(const FileRecord& record, int row, size_t index)
{
    HWND list = ListControl();
    if (!list)
        return;
    const std::array<std::wstring, 6> texts = RecordRowTexts(record, CurrentText(KindStringId(record)));
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(texts[0].c_str());
    item.lParam = static_cast<LPARAM>(index);  // the row's record, whatever the page size
    int at = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (at < 0)
        return;
    for (int column = 1; column < 6; ++column)
        SetItemText(list, at, column, texts[static_cast<size_t>(column)]);
}

bool CDlgFileList::RowRecordIndex(int row, size_t& index) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (row < 0 || !::SendMessageW(ListControl(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return false;
    index = static_cast<size_t>(item.lParam);
    return true;
}

// --- Rows -------------------------------------------------------------------

void CDlgFileList::OnRowClick(Message& m)
{
    if (scanBusy)
        return;
    size_t index = 0;
    if (!RowRecordIndex(m.NotifyAs<NMITEMACTIVATE>()->iItem, index))
        return;
    if (CDlgPlayBkCtrl* panel = ControlPanel())
        panel->currentIndex = static_cast<int>(index);
    const std::vector<FileRecord>& shown = ShownRecords();
    if (index >= shown.size())
        return;
    selectedPath = shown[index].path;
    HighlightPlayingRows();
    // The row chosen stays marked beside the playing ones.
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    ::SendMessageW(ListControl(), LVM_SETITEMSTATE, static_cast<WPARAM>(m.NotifyAs<NMITEMACTIVATE>()->iItem),
                   reinterpret_cast<LPARAM>(&state));
    UpdateData(false);
}

void CDlgFileList::OnRowDblClick(Message& m)
{
    if (scanBusy)
        return;
    const int row = m.NotifyAs<NMITEMACTIVATE>()->iItem;
    size_t index = 0;
    if (!RowRecordIndex(row, index))
        return;
    if (CDlgPlayBkCtrl* panel = ControlPanel())
        panel->currentIndex = static_cast<int>(index);
    selectedRow = row;
    const std::vector<FileRecord>& shown = ShownRecords();
    if (index >= shown.size())
        return;
    selectedPath = shown[index].path;
    if (CDlgPlayBack* page = g_Settings.language ? g_Settings.language->playbackPage : nullptr)
        page->PlaySelectedFile();
}

void CDlgFileList::HighlightPlayingRows()
{
    HWND list = ListControl();
    if (!list)
        return;
    // Found by path: the playing group's indices may be of another page
    // size or of the list before a search.
    CDlgPlayBkCtrl* panel = ControlPanel();
    const std::vector<std::wstring> playing = panel ? panel->PlayingPaths() : std::vector<std::wstring>();
    const std::vector<FileRecord>& shown = ShownRecords();
    const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::wstring> rowPaths(static_cast<size_t>(rows > 0 ? rows : 0));
    for (int row = 0; row < rows; ++row) {
        size_t index = 0;
        if (RowRecordIndex(row, index) && index < shown.size())
            rowPaths[static_cast<size_t>(row)] = shown[index].path;
    }
    std::vector<bool> marked(rowPaths.size(), false);
    for (int row : PlayingRows(rowPaths, playing))
        marked[static_cast<size_t>(row)] = true;
    // Every row's mark is set, not only added: no row of a group before
    // stays marked. The focus stays where it is.
    for (int row = 0; row < rows; ++row) {
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = marked[static_cast<size_t>(row)] ? LVIS_SELECTED : 0;
        ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
}

// --- Drawing and texts -------------------------------------------------------

void CDlgFileList::OnCustomDraw(Message& m)
{
    // The marked rows (the playing group's, a row just chosen) are drawn in
    // the selection's colours whether the list has the focus or not: the
    // list's pale unfocused selection reads as the plain rows. In the dark
    // scheme the other cells are white on black; in the light one they
    // keep the list's own colours.
    auto* draw = m.NotifyAs<NMLVCUSTOMDRAW>();
    // The row's own state: the sub-item stages need not carry it.
    auto marked = [&] {
        draw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
        return (::SendMessageW(draw->nmcd.hdr.hwndFrom, LVM_GETITEMSTATE, draw->nmcd.dwItemSpec, LVIS_SELECTED) &
                LVIS_SELECTED) != 0;
    };
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        m.result = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        if (marked()) {
            draw->clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
            draw->clrTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
        }
        m.result = CDRF_NOTIFYSUBITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        if (marked()) {
            draw->clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
            draw->clrTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
        } else if (Dark()) {
            draw->clrText = kWhite;
            draw->clrTextBk = kBlack;
        } else {
            draw->clrText = kWhite;
            draw->clrTextBk = kListColour;
        }
        m.result = CDRF_DODEFAULT;
        break;
    default:
        m.result = CDRF_DODEFAULT;
        break;
    }
}

void CDlgFileList::OnCtlColor(Message& m)
{
    DefWindowProc(m.id, m.wParam, m.lParam);
    HDC dc = reinterpret_cast<HDC>(m.wParam);
    const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(m.lParam));
    switch (id) {
    case IDC_PAGE_NUMBER: case IDC_PAGE_COUNT: case IDC_PAGE_BAND_RIGHT: case IDC_PAGE_BAND_LEFT:
    case IDC_PAGE_BEFORE: case IDC_PAGE_BETWEEN: case IDC_PAGE_AFTER: case IDC_BEGIN_TIME_LABEL:
    case IDC_END_TIME_LABEL:
        ::SetTextColor(dc, kWhite);
        ::SetBkMode(dc, TRANSPARENT);
        break;
    case IDC_PREV_PAGE: case IDC_FIRST_PAGE: case IDC_LAST_PAGE: case IDC_NEXT_PAGE:
        ::SetBkMode(dc, TRANSPARENT);
        break;
    default:
        break;
    }
    m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
}

void CDlgFileList::ApplyLanguage()
{
    if (!m_hWnd)
        return;
    const int headers[6] = {IDS_COLUMN_CHANNEL, IDS_COLUMN_DATE, IDS_COLUMN_BEGIN,
                            IDS_COLUMN_END,     IDS_COLUMN_TYPE, IDS_COLUMN_SIZE};
    for (int i = 0; i < 6; ++i) {
        CString text = CurrentText(headers[i]);
        if (text.size() > 63)
            text.resize(63);
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT;
        col.pszText = const_cast<wchar_t*>(text.c_str());
        ::SendMessageW(ListControl(), LVM_SETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    const struct {
        int control, text;
    } labels[] = {
        {IDC_FIRST_PAGE, IDS_FIRST_PAGE},   {IDC_PREV_PAGE, IDS_PREVIOUS_PAGE},
        {IDC_NEXT_PAGE, IDS_NEXT_PAGE},     {IDC_LAST_PAGE, IDS_LAST_PAGE},
        {IDC_PAGE_BEFORE, IDS_PAGE_BEFORE}, {IDC_PAGE_BETWEEN, IDS_PAGE_BETWEEN},
        {IDC_PAGE_AFTER, IDS_PAGE_AFTER},   {IDC_SD_SEARCH, IDS_SD_SEARCH},
        {IDC_LOCAL_DIR, IDS_LOCAL_DIR},     {IDC_LOCAL_SEARCH, IDS_LOCAL_SEARCH},
        {IDC_BEGIN_TIME_LABEL, IDS_BEGIN_TIME}, {IDC_END_TIME_LABEL, IDS_END_TIME},
    };
    for (const auto& l : labels)
        ::SetDlgItemTextW(m_hWnd, l.control, CurrentText(l.text).c_str());
    // The new texts' widths.
    FitColumns(m_givenColumns);
    RECT rc = GetClientRect();
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
    // The labels draw without a background: what they drew before the
    // move goes too.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    // The kinds of the rows shown are texts of the language too.
    if (!scanBusy)
        ShowPage(currentPage);
}

void CDlgFileList::ColumnNeeds(const LanguageHolder& language, int needs[6]) const
{
    HWND list = ListControl();
    auto width = [list](const std::wstring& text) {
        return static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    };
    const int headers[6] = {IDS_COLUMN_CHANNEL, IDS_COLUMN_DATE, IDS_COLUMN_BEGIN,
                            IDS_COLUMN_END,     IDS_COLUMN_TYPE, IDS_COLUMN_SIZE};
    // The widest cell each column shows: the widest form of its digits, the
    // kinds in the language.
    const std::wstring samples[6] = {L"88", L"0000-00-00", L"00:00:00", L"00:00:00", L"", SizeText(4095ull << 20)};
    const int kindIds[6] = {IDS_NORMAL_VIDEO, IDS_ALARM_VIDEO, IDS_IO_ALARM, IDS_IMPACT_ALARM, IDS_MOVE_ALARM, IDS_OTHERS};
    for (int c = 0; c < 6; ++c) {
        int widest = width(samples[c]);
        if (c == 4)
            for (int id : kindIds)
                widest = std::max(widest, width(language.Text(id)));
        needs[c] = ColumnNeed(c, width(language.Text(headers[c])), widest);
    }
}

void CDlgFileList::FitColumns(const int widths[6])
{
    HWND list = ListControl();
    if (!list)
        return;
    for (int i = 0; i < 6; ++i)
        m_givenColumns[i] = widths[i];
    int needs[6] = {};
    if (g_Settings.language)
        ColumnNeeds(*g_Settings.language, needs);
    RECT client = {};
    ::GetClientRect(list, &client);
    int fitted[6];
    FitColumnsToList(widths, needs, client.right, fitted);
    for (int c = 0; c < 6; ++c)
        ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), fitted[c]);
}

ListWidths CDlgFileList::WantedWidths() const
{
    HWND list = ListControl();
    if (!list)
        return {};
    // The list's borders; a vertical scroll bar comes and goes with the
    // rows.
    RECT window = {}, client = {};
    ::GetWindowRect(list, &window);
    ::GetClientRect(list, &client);
    int frame = (window.right - window.left) - client.right;
    if (::GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL)
        frame -= ::GetSystemMetrics(SM_CXVSCROLL);
    int needs[6] = {};
    for (int index = 0; index < 3; ++index) {
        LanguageHolder language;
        language.SetLanguage(index);
        int inLanguage[6];
        ColumnNeeds(language, inLanguage);
        for (int c = 0; c < 6; ++c)
            needs[c] = std::max(needs[c], inLanguage[c]);
    }
    ListWidths wanted = {frame, frame};
    for (int c = 0; c < 6; ++c) {
        wanted.allColumns += needs[c];
        if (c < 4)
            wanted.timeColumns += needs[c];
    }
    return wanted;
}

BOOL CDlgFileList::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_ESCAPE)
        return FALSE;
    CDlgPlayBack* page = g_Settings.language ? g_Settings.language->playbackPage : nullptr;
    if (page && page->fullScreen)
        page->LeaveFullScreen();
    return TRUE;
}
