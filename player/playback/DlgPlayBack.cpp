#include "playback/DlgPlayBack.h"

#include "AppSettings.h"
#include "recordings/DlgFileList.h"
#include "FileExists.h"
#include "LanguageHolder.h"
#include "app/MainWindow.h"
#include "PrivateMessages.h"
#include "recordings/RecordFileName.h"
#include "vehicle/ScopeDlg.h"
#include "playback/StreamInfoText.h"
#include "WaitCursor.h"

namespace {

bool EndsWithH264IgnoringCase(const std::wstring& path)
{
    return path.size() >= 5 && ::lstrcmpiW(path.c_str() + path.size() - 5, L".h264") == 0;
}

}  // namespace

BEGIN_MESSAGE_TABLE(CDlgPlayBack, CDialog)
    OnMessage<&CDlgPlayBack::OnPaneClicked>(WM_VIDEO_CLICKED),
    OnMessage<&CDlgPlayBack::OnPaneDoubleClicked>(WM_VIDEO_DBLCLICKED),
    OnMessage<&CDlgPlayBack::OnPanelEvent>(WM_PANEL_EVENT),
    OnMessage<&CDlgPlayBack::OnSize>(WM_SIZE),
    OnMessage<&CDlgPlayBack::OnGetMinMaxInfo>(WM_GETMINMAXINFO),
    OnMessage<&CDlgPlayBack::OnPaint>(WM_PAINT),
    OnMessage<&CDlgPlayBack::OnDestroy>(WM_DESTROY),
END_MESSAGE_TABLE()

CDlgPlayBack::CDlgPlayBack() : CDialog(IDD_PLAYBACK)
{
    controlPanel.page = this;
    savedPlacement.length = sizeof savedPlacement;
}

CDlgPlayBack::~CDlgPlayBack()
{
    if (m_hWnd)
        DestroyWindow();
}

CDlgFileList* CDlgPlayBack::FileList() const
{
    return language ? language->fileList : nullptr;
}

BOOL CDlgPlayBack::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (language)
        language->playbackPage = this;
    controlPanel.language = language;
    controlPanel.Create(this);
    for (int k = 0; k < kPaneCount; ++k) {
        panes[k].Create(this);
        panes[k].paneIndex = k;
    }
    return TRUE;
}

// --- Layout -------------------------------------------------------------

void CDlgPlayBack::LayoutPanes()
{
    if (!m_hWnd)
        return;
    RECT client = GetClientRect();
    PaneLayout l = ComputePaneLayout(paneCount, selectedPane, client.right, client.bottom);
    for (CDlgVideo& pane : panes) {
        if (!pane.m_hWnd)
            continue;
        pane.ShowWindow(SW_HIDE);
        pane.SetSelected(0);
    }
    for (int k = 0; k < kPaneCount; ++k) {
        if (!l.shown[k] || !panes[k].m_hWnd)
            continue;
        const RECT& r = l.rect[k];
        panes[k].MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top);
        panes[k].ShowWindow(SW_SHOW);
    }
    if (selectedPane >= 0 && selectedPane < kPaneCount && panes[selectedPane].m_hWnd)
        panes[selectedPane].SetSelected(1);
    if (controlPanel.m_hWnd) {
        const RECT& c = l.controlPanel;
        controlPanel.MoveWindow(c.left, c.top, c.right - c.left, c.bottom - c.top);
        controlPanel.ShowWindow(SW_SHOW);
    }
}

void CDlgPlayBack::OnSize(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (controlPanel.m_hWnd)
        LayoutPanes();
}

void CDlgPlayBack::OnGetMinMaxInfo(Message& m)
{
    if (fullScreen) {
        auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam);
        const LONG w = fullScreenRect.right - fullScreenRect.left, h = fullScreenRect.bottom - fullScreenRect.top;
        info->ptMaxSize = {w, h};
        info->ptMaxTrackSize = {w, h};
    }
    m.handled = false;
}

void CDlgPlayBack::OnPaint()
{
    // What the panes leave (the empty cells of nine or sixteen) in the
    // colour of the scheme, as the control bar below.
    CPaintDC dc(this);
    dc.FillSolidRect(GetClientRect(), g_Settings.bkColor == 1 ? RGB(88, 92, 95) : RGB(236, 233, 216));
}

// --- Playing --------------------------------------------------------------

void CDlgPlayBack::PlaySelectedFile()
{
    ClearScopeCharts();
    WaitCursor wait;
    // The record that will be opened (a pending previous/next step and
    // short records already applied); without one nothing happens.
    const int index = controlPanel.ResolveSelection();
    const std::vector<FileRecord>& records = controlPanel.ShownRecords();
    if (index < 0)
        return;
    std::wstring path = records[static_cast<size_t>(index)].path;
    if (!EndsWithH264IgnoringCase(path))
        path += L".h264";
    if (!FileExists(path))
        return;
    g_Settings.firstInfoSeen = 0;
    controlPanel.playState = kPlaying;
    controlPanel.StopBeforeAnotherGroup();
    ::Sleep(100);
    OpenFileGroup(FindChannelFiles(path));
}

int CDlgPlayBack::FindChannelFiles(const std::wstring& path) const
{
    int highest = selectedPane + 1;
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || !IsRecordFileName(std::wstring_view(path).substr(slash + 1)))
        return highest;
    const std::wstring pattern = path.substr(0, slash + 1) + L"*.h264";
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return highest;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!IsRecordFileName(std::wstring_view(found.cFileName)))
            continue;
        const int c = ParseRecordFileName(std::wstring_view(found.cFileName), nullptr, nullptr, nullptr);
        if (c >= 1 && c <= kPaneCount && c > highest)
            highest = c;
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return highest;
}

void CDlgPlayBack::OpenFileGroup(int highest)
{
    const int cells = CellsForHighestChannel(highest);
    if (cells > paneCount) {
        paneCount = cells;
        LayoutPanes();
    }
    controlPanel.OpenSelection();
    UpdatePaneInfo();
}

void CDlgPlayBack::UpdatePaneInfo()
{
    std::wstring path;
    for (int k = 0; k < CDlgPlayBkCtrl::kSlots; ++k)
        if (controlPanel.channelNumber[k] == selectedPane + 1) {
            path = controlPanel.channelPath[k];
            break;
        }
    const CString text = StreamInfoText(path, [this](int id) { return TextIn(language, id); });
    if (g_Settings.mainDlg)
        g_Settings.mainDlg->ShowStreamInfo(text);
}

// --- Panes ----------------------------------------------------------------

void CDlgPlayBack::OnPaneClicked(Message& m)
{
    const WPARAM pane = m.wParam;
    if (controlPanel.decoder) {
        controlPanel.engine->PlaySound(controlPanel.decoder, static_cast<int>(pane));
        controlPanel.ApplyVolume();
    }
    if (pane < static_cast<WPARAM>(kPaneCount) && static_cast<int>(pane) != selectedPane) {
        if (selectedPane >= 0 && selectedPane < kPaneCount)
            panes[selectedPane].SetSelected(0);
        selectedPane = static_cast<int>(pane);
        panes[selectedPane].SetSelected(1);
        UpdatePaneInfo();
    }
}

void CDlgPlayBack::OnPaneDoubleClicked(Message& m)
{
    if (m.wParam >= static_cast<WPARAM>(kPaneCount))
        return;
    selectedPane = static_cast<int>(m.wParam);
    if (paneCount == 1) {
        paneCount = previousPaneCount;
    } else {
        previousPaneCount = paneCount;
        paneCount = 1;
    }
    LayoutPanes();
}

void CDlgPlayBack::OnPanelEvent(Message&)
{
    // The search panel announces a day search; the page has nothing to do.
}

void CDlgPlayBack::CutSelectedPaneToAvi()
{
    if (selectedPane >= 0 && selectedPane < kPaneCount && panes[selectedPane].m_hWnd)
        panes[selectedPane].SendMessage(WM_COMMAND, ID_CUT_TO_AVI, 0);
}

// --- Full screen and closing -------------------------------------------

void CDlgPlayBack::LeaveFullScreen()
{
    if (!fullScreen)
        return;
    fullScreen = 0;
    // The layout the switches ask for now: the side panels or the map may
    // have been switched while the page was full screen, so the placement
    // saved on the way in is not always the one to go back to.
    if (g_Settings.mainDlg) {
        g_Settings.mainDlg->ApplyScreenLayout();
    } else if (m_hWnd) {
        const RECT& saved = savedPlacement.rcNormalPosition;
        if (saved.right > saved.left && saved.bottom > saved.top)
            ::SetWindowPlacement(m_hWnd, &savedPlacement);
        ShowWindow(SW_SHOW);
    }
    if (m_hWnd)
        ::UpdateWindow(m_hWnd);
}

void CDlgPlayBack::OnDestroy(Message& m)
{
    // The engine draws into the panes and posts to the control panel: stop
    // it while they are all still there (children go after this message).
    controlPanel.StopAll();
    m.handled = false;
}
