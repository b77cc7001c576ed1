#include "playback/DlgVideo.h"

#include "AppSettings.h"
#include "playback/AviSource.h"
#include "DataExchange.h"
#include "avi/DlgAvi.h"
#include "playback/DlgPlayBack.h"
#include "LanguageHolder.h"
#include "PrivateMessages.h"
#include "StringIds.h"

extern HWND g_hMainWnd;

namespace {
const COLORREF kSelectedFrame = RGB(255, 0, 0);
const COLORREF kPaneBlue = RGB(0, 0, 255);
}

BEGIN_MESSAGE_TABLE(CDlgVideo, CDialog)
    OnMessage<&CDlgVideo::OnPaint>(WM_PAINT),
    OnMessage<&CDlgVideo::OnSize>(WM_SIZE),
    OnMessage<&CDlgVideo::OnLButtonDown>(WM_LBUTTONDOWN),
    OnMessage<&CDlgVideo::OnLButtonDblClk>(WM_LBUTTONDBLCLK),
    OnMessage<&CDlgVideo::OnRButtonDown>(WM_RBUTTONDOWN),
    OnMessages<&CDlgVideo::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
    OnCommand<&CDlgVideo::OnCutToAvi>(ID_CUT_TO_AVI, 0),
END_MESSAGE_TABLE()

CDlgVideo::CDlgVideo() : CDialog(IDD_VIDEO)
{
    m_brush.CreateSolidBrush(kPaneBlue);
}

void CDlgVideo::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_VIDEO_WINDOW, videoWindow);
}

BOOL CDlgVideo::OnInitDialog()
{
    CDialog::OnInitDialog();
    flag.Create(this);
    flag.ShowWindow(SW_HIDE);
    return TRUE;
}

void CDlgVideo::SetSelected(int value)
{
    selected = value;
    DrawFrame();
}

void CDlgVideo::DrawFrame()
{
    if (!m_hWnd)
        return;
    {
        CClientDC dc(this);
        RECT rc = GetClientRect();
        CBrush frame;
        frame.CreateSolidBrush(selected ? kSelectedFrame : kPaneBlue);
        ::FrameRect(dc, &rc, frame);
    }
    if (g_hMainWnd)
        ::PostMessageW(g_hMainWnd, WM_REPAINT_CAPTION, 0, 0);
}

void CDlgVideo::OnPaint()
{
    {
        CPaintDC dc(this);
    }
    DrawFrame();
}

void CDlgVideo::OnSize(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (videoWindow.m_hWnd) {
        RECT rc = GetClientRect();
        videoWindow.MoveWindow(rc.left + 2, rc.top + 2, rc.right - rc.left - 4, rc.bottom - rc.top - 4);
    }
}

void CDlgVideo::OnLButtonDown(Message& m)
{
    if (HWND parent = GetParent(); parent && paneIndex >= 0)
        ::SendMessageW(parent, WM_VIDEO_CLICKED, static_cast<WPARAM>(paneIndex), 0);
    m.handled = false;
}

void CDlgVideo::OnLButtonDblClk(Message& m)
{
    if (HWND parent = GetParent(); parent && paneIndex >= 0)
        ::SendMessageW(parent, WM_VIDEO_DBLCLICKED, static_cast<WPARAM>(paneIndex), 0);
    m.handled = false;
}

void CDlgVideo::OnRButtonDown(Message& m)
{
    if (paneIndex < 0)
        return;  // not even the default handling
    HMENU menu = ::CreatePopupMenu();
    if (menu) {
        CString text;
        if (g_Settings.language)
            g_Settings.language->LoadString(text, IDS_CUT_TO_AVI);
        ::AppendMenuW(menu, MF_STRING, ID_CUT_TO_AVI, text.c_str());
        POINT at;
        ::GetCursorPos(&at);
        ::TrackPopupMenu(menu, 0, at.x, at.y, 0, m_hWnd, nullptr);
    }
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (menu)
        ::DestroyMenu(menu);
}

void CDlgVideo::OnCtlColor(Message& m)
{
    DefWindowProc(m.id, m.wParam, m.lParam);
    m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
}

bool CDlgVideo::CutSource(AviSource& out) const
{
    auto* page = dynamic_cast<CDlgPlayBack*>(CWnd::FromHandlePermanent(GetParent()));
    if (!page || paneIndex < 0 || paneIndex >= CDlgPlayBkCtrl::kSlots)
        return false;
    const CDlgPlayBkCtrl& panel = page->controlPanel;
    return AviSourceFor(panel.channelPath[paneIndex], panel.channelNumber[paneIndex], panel.slotStart[paneIndex],
                        panel.slotEnd[paneIndex], out);
}

void CDlgVideo::OnCutToAvi(Message& m)
{
    m.handled = false;  // every command goes on to the default handling too
    AviSource source;
    if (!CutSource(source))
        return;
    RunAviExportDialog(this, source.folder + source.name, source.parseName);
}
