#include "recordings/DlgSearchPannel.h"

#include "AppSettings.h"
#include "DataExchange.h"
#include "playback/DlgPlayBack.h"
#include "recordings/FolderChooser.h"
#include "LanguageHolder.h"
#include "app/MainWindow.h"
#include "PrivateMessages.h"
#include "recordings/SearchPanelLayout.h"
#include "TextExtent.h"
#include "StringIds.h"

#include <commctrl.h>
#include <shlobj.h>

namespace {

const COLORREF kPanelColour = RGB(88, 92, 95);
const UINT_PTR kGuardTimer = 1;
const UINT kGuardMs = 10000;
// Bitmaps of the month buttons, for the bitmap button.
const int kPrevMonthBitmap = 694;
const int kNextMonthBitmap = 695;

void Place(HWND control, const PanelRect& r)
{
    if (control)
        ::MoveWindow(control, r.x, r.y, r.w, r.h, TRUE);
}

void FillList(HWND list, const int* ids, int count, int selected)
{
    ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i)
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CurrentText(ids[i]).c_str()));
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

}  // namespace

BEGIN_MESSAGE_TABLE(CDlgSearchPannel, CDialog)
    OnMessage<&CDlgSearchPannel::OnPaint>(WM_PAINT),
    OnMessage<&CDlgSearchPannel::OnSize>(WM_SIZE),
    OnMessages<&CDlgSearchPannel::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
    OnMessage<&CDlgSearchPannel::OnTimer>(WM_TIMER),
    OnCommand<&CDlgSearchPannel::OnBrowseFolder>(IDC_BROWSE, BN_CLICKED),
    OnCommand<&CDlgSearchPannel::OnTypeChanged>(IDC_TYPE_LIST, CBN_SELCHANGE),
    OnCommand<&CDlgSearchPannel::OnLanguageChanged>(IDC_LANGUAGE_LIST, CBN_SELCHANGE),
    OnCommand<&CDlgSearchPannel::OnGuardedSearch>(IDC_GUARDED_SEARCH),
END_MESSAGE_TABLE()

CDlgSearchPannel::CDlgSearchPannel() : CDialog(IDD_SEARCH)
{
    m_brush.CreateSolidBrush(kPanelColour);
}

void CDlgSearchPannel::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_PATH_EDIT, storagePath);
}

BOOL CDlgSearchPannel::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreateMonthButton(prevMonth, IDC_PREV_MONTH, kPrevMonthBitmap, L"前一个月");
    CreateMonthButton(nextMonth, IDC_NEXT_MONTH, kNextMonthBitmap, L"后一个月");
    prevMonth.ShowWindow(SW_HIDE);
    nextMonth.ShowWindow(SW_HIDE);
    // Provisional entries until the first language is applied.
    HWND languages = GetDlgItem(IDC_LANGUAGE_LIST);
    for (const wchar_t* name : {L"Chinese", L"Traditional", L"English"})
        ::SendMessageW(languages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    return TRUE;
}

bool CDlgSearchPannel::CreateMonthButton(CMonthButton& button, int id, int /*bitmapId*/, const wchar_t* /*tip*/)
{
    return button.CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 30, 40, m_hWnd,
                           static_cast<UINT_PTR>(id));
}

CDlgFileList* CDlgSearchPannel::FileList() const
{
    return g_Settings.language ? g_Settings.language->fileList : nullptr;
}

void CDlgSearchPannel::OnPaint()
{
    CPaintDC dc(this);
    dc.FillSolidRect(GetClientRect(), kPanelColour);
}

void CDlgSearchPannel::OnSize(Message& m)
{
    m.handled = false;
    if (!prevMonth.m_hWnd || !nextMonth.m_hWnd)
        return;
    // The lists open with room for three entries.
    HWND typeList = GetDlgItem(IDC_TYPE_LIST);
    const int field = static_cast<int>(::SendMessageW(typeList, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    const int item = static_cast<int>(::SendMessageW(typeList, CB_GETITEMHEIGHT, 0, 0));
    const int dropHeight = field + 8 + 3 * item + 4;
    int labels = 0;
    for (int id : {IDC_LANGUAGE_LABEL, IDC_PATH_LABEL, IDC_TYPE_LABEL}) {
        const int w = OwnTextWidth(GetDlgItem(id));
        labels = w > labels ? w : labels;
    }
    HWND browse = GetDlgItem(IDC_BROWSE);
    SearchPanelLayout l =
        ComputeSearchPanelLayout(GetClientRect().right, dropHeight, labels, OwnTextWidth(browse));
    Place(GetDlgItem(IDC_LANGUAGE_LABEL), l.languageLabel);
    Place(GetDlgItem(IDC_LANGUAGE_LIST), l.languageList);
    Place(GetDlgItem(IDC_PATH_LABEL), l.pathLabel);
    Place(GetDlgItem(IDC_PATH_EDIT), l.pathEdit);
    Place(GetDlgItem(IDC_BROWSE), l.browse);
    Place(GetDlgItem(IDC_TYPE_LABEL), l.typeLabel);
    Place(typeList, l.typeList);
    Place(GetDlgItem(IDC_SEARCH_DATE), l.datePicker);
    Place(prevMonth.m_hWnd, l.prevMonth);
    Place(nextMonth.m_hWnd, l.nextMonth);
}

void CDlgSearchPannel::OnCtlColor(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(m.lParam));
    if (id != IDC_PATH_LABEL && id != IDC_TYPE_LABEL && id != IDC_LANGUAGE_LABEL)
        return;
    HDC dc = reinterpret_cast<HDC>(m.wParam);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
}

void CDlgSearchPannel::OnBrowseFolder()
{
    std::wstring path;
    if (ChooseFolder(::GetAncestor(m_hWnd, GA_ROOT), CurrentText(IDS_CHOOSE_PATH).c_str(), BIF_BROWSEINCLUDEFILES, path,
                     ChooserStartFolder(storagePath)))
        SearchPath(path);
}

void CDlgSearchPannel::ShowStoragePath(const std::wstring& path)
{
    storagePath = path;
    if (m_hWnd)
        UpdateData(false);
}

void CDlgSearchPannel::SearchPath(const std::wstring& path)
{
    ShowStoragePath(path);
    g_Settings.searchRoot = path;
    if (CDlgFileList* list = FileList()) {
        list->currentPage = 1;
        list->shownPage = 1;
    }
    StartDateSearch();
}

void CDlgSearchPannel::StartDateSearch()
{
    SYSTEMTIME day = {};
    LRESULT got = m_hWnd ? ::SendDlgItemMessageW(m_hWnd, IDC_SEARCH_DATE, DTM_GETSYSTEMTIME, 0,
                                                 reinterpret_cast<LPARAM>(&day))
                         : GDT_ERROR;
    CDlgPlayBack* page = g_Settings.language ? g_Settings.language->playbackPage : nullptr;
    if (page && page->m_hWnd)
        ::SendMessageW(page->m_hWnd, WM_PANEL_EVENT, PANEL_EVENT_DAY_SEARCH, 0);
    searchDate.year = day.wYear;
    searchDate.month = day.wMonth;
    searchDate.day = day.wDay;
    searchDate.valid = got == GDT_VALID;
    CDlgFileList* list = FileList();
    if (list && list->m_hWnd)
        ::SendMessageW(list->m_hWnd, WM_SEARCH_DAY, reinterpret_cast<WPARAM>(&searchDate), 0);
}

void CDlgSearchPannel::OnTypeChanged()
{
    LRESULT selected = ::SendDlgItemMessageW(m_hWnd, IDC_TYPE_LIST, CB_GETCURSEL, 0, 0);
    typeIndex = selected == CB_ERR ? kTypeAll : static_cast<int>(selected);
    if (CDlgFileList* list = FileList())
        list->ApplyTypeFilter(typeIndex);
}

void CDlgSearchPannel::OnLanguageChanged()
{
    switch (::SendDlgItemMessageW(m_hWnd, IDC_LANGUAGE_LIST, CB_GETCURSEL, 0, 0)) {
    case 1:
        g_Settings.lanSelect = 2;
        SetTraditionalChinese();
        break;
    case 2:
        g_Settings.lanSelect = 3;
        SetEnglish();
        break;
    default:
        g_Settings.lanSelect = 1;
        SetSimplifiedChinese();
        break;
    }
}

void CDlgSearchPannel::SwitchLanguage(int index, int code)
{
    if (g_Settings.language)
        g_Settings.language->SetLanguage(index);
    g_Settings.languageCode = code;
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->LoadLanguageImages();
    ApplyLanguage();
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->UpdateTexts();
    g_Settings.SaveLanguage();
}

void CDlgSearchPannel::ApplyLanguage()
{
    if (!m_hWnd)
        return;
    ::SetDlgItemTextW(m_hWnd, IDC_LANGUAGE_LABEL, CurrentText(IDS_LANGUAGE).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_PATH_LABEL, CurrentText(IDS_STORAGE_PATH).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_TYPE_LABEL, CurrentText(IDS_RECORDER_TYPE).c_str());
    // The type kept: the list goes on showing that type.
    const int types[3] = {IDS_TIMER_RECORD, IDS_ALARM_RECORD, IDS_ALL_TYPES};
    FillList(GetDlgItem(IDC_TYPE_LIST), types, 3, typeIndex);
    const int languages[3] = {IDS_SIMPLIFIED_CHINESE, IDS_TRADITIONAL_CHINESE, IDS_ENGLISH};
    const int code = g_Settings.languageCode;
    FillList(GetDlgItem(IDC_LANGUAGE_LIST), languages, 3, code == 1 ? 0 : code == 2 ? 1 : 2);
    // The labels' column follows their texts.
    RECT rc = GetClientRect();
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CDlgSearchPannel::OnGuardedSearch()
{
    // At most one search every ten seconds.
    if (dateTimer != -1)
        return;
    dateTimer = static_cast<int>(SetTimer(kGuardTimer, kGuardMs));
    StartDateSearch();
}

void CDlgSearchPannel::OnTimer(Message& m)
{
    if (m.wParam != kGuardTimer) {
        m.handled = false;
        return;
    }
    KillTimer(kGuardTimer);
    dateTimer = -1;
}

BOOL CDlgSearchPannel::PreTranslateMessage(MSG* msg)
{
    return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE;
}
