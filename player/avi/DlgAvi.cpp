#include "avi/DlgAvi.h"

#include "avi/AviDialogLayout.h"
#include "AnsiPath.h"
#include "recordings/UnreachablePath.h"
#include "AppSettings.h"
#include "Calverin.h"
#include "DataExchange.h"
#include "recordings/FolderChooser.h"
#include "LanguageHolder.h"
#include "Ostrivel.h"
#include "PrivateMessages.h"
#include "recordings/RecordFileName.h"
#include "StringIds.h"
#include "TextExtent.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

namespace {

volatile LONG g_callbackCount = 0;

// The pickers hold times of day; their date part is the fixed day
// 1899-12-30.
void DDX_TimeOfDay(CDataExchange* dx, int id, TimeOfDay& value)
{
    HWND picker = dx->dialog->GetDlgItem(id);
    if (!picker) {
        dx->failed = true;
        return;
    }
    SYSTEMTIME st = {};
    if (dx->saveAndValidate) {
        if (::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) {
            dx->failed = true;
            return;
        }
        value.hour = st.wHour;
        value.minute = st.wMinute;
        value.second = st.wSecond;
        return;
    }
    st.wYear = 1899;
    st.wMonth = 12;
    st.wDay = 30;
    st.wHour = static_cast<WORD>(value.hour);
    st.wMinute = static_cast<WORD>(value.minute);
    st.wSecond = static_cast<WORD>(value.second);
    ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

int HmsOf(const SYSTEMTIME& t)
{
    return t.wHour * 10000 + t.wMinute * 100 + t.wSecond;
}

// The start and end time of day in the file's header, read by the engine.
bool ReadHeaderRange(const std::wstring& path, int& startHms, int& endHms)
{
    std::string ansi;
    if (!AnsiPath(path, ansi))
        return false;
    void* engine = nullptr;
    if (OV_CreateDecoder(&engine) != 0 || !engine)
        return false;
    FileInfo info = {};
    const bool read = OV_GetFileParam(engine, &info, ansi.c_str()) == 0;
    OV_EraseDecoder(engine);
    if (!read)
        return false;
    startHms = HmsOf(info.startTime);
    endHms = HmsOf(info.endTime);
    return true;
}

CString ItemText(const CWnd& dlg, int id)
{
    return CString::WindowText(dlg.GetDlgItem(id));
}

}  // namespace

BEGIN_MESSAGE_TABLE(CDlgAvi, CDialog)
    OnCommand<&CDlgAvi::OnStart>(IDC_AVI_START, BN_CLICKED),
    OnCommand<&CDlgAvi::OnBrowseSource>(IDC_AVI_BROWSE_SOURCE, BN_CLICKED),
    OnCommand<&CDlgAvi::OnBrowseDestDir>(IDC_AVI_BROWSE_DIR, BN_CLICKED),
    OnNotify<&CDlgAvi::OnPickerKillFocus>(NM_KILLFOCUS, IDC_AVI_CUT_START),
    OnNotify<&CDlgAvi::OnPickerKillFocus>(NM_KILLFOCUS, IDC_AVI_CUT_END),
    OnMessage<&CDlgAvi::OnConvertProgress>(WM_AVI_PROGRESS),
    OnMessage<&CDlgAvi::OnClose>(WM_CLOSE),
    OnMessage<&CDlgAvi::OnDestroy>(WM_DESTROY),
END_MESSAGE_TABLE()

CDlgAvi::CDlgAvi(const std::wstring& sourcePath, const std::wstring& parse) : CDialog(IDD_AVI_CONVERT), parseName(parse)
{
    std::wstring folder, name;
    if (SplitSourcePath(sourcePath, folder, name)) {
        sourceFolder = folder;
        sourceName = name;
    }
}

CDlgAvi::~CDlgAvi()
{
    // The window may still exist; once this object is gone the base class
    // destroys it without this class's handlers.
    DetachConverter();
}

long CDlgAvi::CallbackCount()
{
    return InterlockedCompareExchange(&g_callbackCount, 0, 0);
}

void __stdcall CDlgAvi::ConvertProgressCallback(void* user, int current, int total)
{
    InterlockedIncrement(&g_callbackCount);
    ::PostMessageW(static_cast<HWND>(user), WM_AVI_PROGRESS, static_cast<WPARAM>(static_cast<INT_PTR>(current)),
                   static_cast<LPARAM>(total));
}

CString CDlgAvi::Text(int id) const
{
    if (g_Settings.language)
        return g_Settings.language->Text(id);
    return CString::Load(ResourceModule(), static_cast<UINT>(id));
}

void CDlgAvi::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_AVI_PROGRESS, progress);
    DDX_TimeOfDay(dx, IDC_AVI_CUT_START, cutStart);
    DDX_TimeOfDay(dx, IDC_AVI_CUT_END, cutEnd);
}

BOOL CDlgAvi::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(Text(IDS_AVI_DIALOG_TITLE).c_str());
    const struct {
        int control, text;
    } labels[] = {
        {IDC_AVI_SOURCE_LABEL, IDS_SOURCE_FILE}, {IDC_AVI_INFO_LABEL, IDS_FILE_INFO},
        {IDC_AVI_RANGE_LABEL, IDS_CUT_TIME_RANGE}, {IDC_AVI_OUT_DIR_LABEL, IDS_OUT_DIR},
        {IDC_AVI_OUT_FILE_LABEL, IDS_OUT_FILE}, {IDC_AVI_START, IDS_START},
    };
    for (const auto& l : labels)
        ::SetDlgItemTextW(m_hWnd, l.control, Text(l.text).c_str());
    FitLabels();
    for (int picker : {IDC_AVI_CUT_START, IDC_AVI_CUT_END})
        ::SendDlgItemMessageW(m_hWnd, picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm:ss"));
    progress.SendMessage(PBM_SETRANGE32, 0, 1000);
    progress.SendMessage(PBM_SETPOS, 0);
    ::SetDlgItemTextW(m_hWnd, IDC_AVI_SOURCE_PATH, (sourceFolder + sourceName).c_str());
    LoadSourceInfo();
    return TRUE;
}

void CDlgAvi::FitLabels()
{
    const int labelIds[5] = {IDC_AVI_SOURCE_LABEL, IDC_AVI_INFO_LABEL, IDC_AVI_RANGE_LABEL, IDC_AVI_OUT_DIR_LABEL,
                             IDC_AVI_OUT_FILE_LABEL};
    int widths[5];
    for (int i = 0; i < 5; ++i)
        widths[i] = OwnTextWidth(GetDlgItem(labelIds[i]));
    auto clientRectOf = [this](HWND w) {
        RECT r;
        ::GetWindowRect(w, &r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT column = clientRectOf(GetDlgItem(IDC_AVI_SOURCE_LABEL));
    const int growth = AviLabelColumnGrowth(widths, 5, column.right - column.left);
    if (growth <= 0)
        return;
    for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const RECT r = clientRectOf(c);
        const AviControlKind kind =
            ::GetDlgCtrlID(c) == IDC_AVI_START ? AviControlKind::Centred : AviControlKindOf(r, column.right);
        const RECT p = AviControlPlace(r, kind, growth);
        ::MoveWindow(c, p.left, p.top, p.right - p.left, p.bottom - p.top, FALSE);
    }
    // The dialog as much wider, still centred where it was.
    RECT w = GetWindowRect();
    ::SetWindowPos(m_hWnd, nullptr, w.left - growth / 2, w.top, w.right - w.left + growth, w.bottom - w.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CDlgAvi::LoadSourceInfo()
{
    ::SetDlgItemTextW(m_hWnd, IDC_AVI_OUT_DIR, sourceFolder.c_str());
    const CString& name = parseName.empty() ? sourceName : parseName;
    int start = 0, end = 0;
    std::wstring info;
    if (!RangeFromRecordName(name, start, end, info)) {
        // The name gives no range: the file's header does, when it can be
        // read. A recording name keeps its channel and format in the text.
        const bool recordName = IsRecordFileName(std::wstring_view(name));
        if (recordName)
            ParseRecordFileName(std::wstring_view(name), &start, &end, &info);
        if (ReadHeaderRange(sourceFolder + sourceName, start, end)) {
            const std::wstring range = HeaderRangeText(start, end);
            if (recordName && info.size() >= range.size())
                info.replace(0, range.size(), range);
            else
                info = range;
        }
    }
    ::SetDlgItemTextW(m_hWnd, IDC_AVI_SOURCE_INFO, info.c_str());
    cutStart = TimeFromHms(start);
    cutEnd = TimeFromHms(end);
    recordedEnd = cutEnd;
    UpdateData(false);
    UpdateOutputName();
}

void CDlgAvi::UpdateOutputName()
{
    UpdateData(true);
    const CString& name = parseName.empty() ? sourceName : parseName;
    ::SetDlgItemTextW(m_hWnd, IDC_AVI_OUT_FILE, AviOutputName(name, cutStart, cutEnd).c_str());
}

void CDlgAvi::OnPickerKillFocus(Message& m)
{
    UpdateOutputName();
    m.result = 0;
}

void CDlgAvi::TakeSourcePath(const std::wstring& path)
{
    std::wstring folder, name;
    if (!SplitSourcePath(path, folder, name))
        return;
    sourceFolder = folder;
    sourceName = name;
    // A name the video pane made up for the file it played has no say
    // over another file.
    parseName.clear();
    ::SetDlgItemTextW(m_hWnd, IDC_AVI_SOURCE_PATH, (sourceFolder + sourceName).c_str());
    LoadSourceInfo();
}

void CDlgAvi::OnBrowseSource()
{
    std::vector<wchar_t> path(4 * MAX_PATH, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = L"H264 Files (*.h264)\0*.h264\0All Files (*.*)\0*.*\0";
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrDefExt = L"h264";
    ofn.Flags = OFN_HIDEREADONLY;
    if (::GetOpenFileNameW(&ofn))
        TakeSourcePath(path.data());
}

void CDlgAvi::OnBrowseDestDir()
{
    std::wstring folder;
    if (ChooseFolder(m_hWnd, L"Save Dir", 0, folder))
        ::SetDlgItemTextW(m_hWnd, IDC_AVI_OUT_DIR, folder.c_str());
}

void CDlgAvi::OnStart()
{
    if (m_converting)
        return;
    // The fields and the range first: nothing is opened for a cut that
    // cannot be made.
    if (!UpdateData(true))
        return;
    const std::wstring source = sourceFolder + sourceName;
    const std::wstring target =
        AviOutputPath(ItemText(*this, IDC_AVI_OUT_DIR), sourceFolder, ItemText(*this, IDC_AVI_OUT_FILE));
    if (sourceName.empty() || target.empty() || !IsCutRangeAccepted(cutStart, cutEnd))
        return;

    std::string ansiSource, ansiTarget;
    std::vector<std::wstring> unreachable;
    if (!AnsiPath(source, ansiSource))
        unreachable.push_back(source);
    if (!AnsiPathOfNewFile(target, ansiTarget))
        unreachable.push_back(target);
    if (!unreachable.empty()) {
        ShowUnreachablePaths(m_hWnd, unreachable);
        return;
    }
    const int handle = CONVERTDLL_InitDllMange(ansiSource.c_str(), ansiTarget.c_str());
    if (handle <= 0) {
        ShowFailure();
        return;
    }
    converterHandle = handle;
    if (CONVERTDLL_RegisterCovInfoCallBack(handle, m_hWnd, &CDlgAvi::ConvertProgressCallback) != 0 ||
        CONVERTDLL_ConvertH264ToAVI(handle, 0, 0, PackTime(cutStart), PackTime(cutEnd), PackTime(recordedEnd)) !=
            0) {
        DetachConverter();
        ShowFailure();
        return;
    }
    m_converting = true;
    progress.SendMessage(PBM_SETPOS, 0);
    progress.ShowWindow(SW_SHOW);
    SetStartEnabled(false);
}

void CDlgAvi::OnConvertProgress(Message& m)
{
    // Reports that were on their way when the conversion was given up.
    if (!m_converting)
        return;
    const int current = static_cast<int>(static_cast<INT_PTR>(m.wParam));
    const int total = static_cast<int>(m.lParam);
    int perMille = 0;
    switch (ReadProgress(current, total, perMille)) {
    case ProgressStep::Ignore:
        return;
    case ProgressStep::Move:
        progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(perMille));
        return;
    case ProgressStep::Finished:
        progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(perMille));
        // The handle's last report: START stays disabled, the file is done.
        DetachConverter();
        ::MessageBoxW(m_hWnd, Text(IDS_CONVERSION_FINISHED).c_str(), L"", MB_OK);
        return;
    case ProgressStep::Failed:
        DetachConverter();
        progress.SendMessage(PBM_SETPOS, 0);
        ShowFailure();
        return;
    }
}

void CDlgAvi::ShowFailure()
{
    SetStartEnabled(true);
    ::MessageBoxW(m_hWnd, Text(IDS_CONVERSION_FAILED).c_str(), L"", MB_OK | MB_ICONEXCLAMATION);
}

void CDlgAvi::SetStartEnabled(bool enabled)
{
    HWND start = GetDlgItem(IDC_AVI_START);
    if (!enabled && ::GetFocus() == start)
        SendMessage(WM_NEXTDLGCTL, 0, FALSE);
    ::EnableWindow(start, enabled);
}

void CDlgAvi::DetachConverter()
{
    m_converting = false;
    if (converterHandle == 0)
        return;
    // Returns once no callback of the handle runs or will run; the
    // callback only posts, so this wait is short.
    CONVERTDLL_RegisterCovInfoCallBack(converterHandle, nullptr, nullptr);
    converterHandle = 0;
}

void CDlgAvi::OnClose(Message& m)
{
    DetachConverter();
    m.handled = false;
}

void CDlgAvi::OnDestroy(Message& m)
{
    DetachConverter();
    m.handled = false;
}

INT_PTR RunAviExportDialog(CWnd* owner, const std::wstring& sourcePath, const std::wstring& parseName)
{
    CDlgAvi dlg(sourcePath, parseName);
    return dlg.DoModal(owner);
}
