#include "recordings/DlgProgress.h"

#include "DataExchange.h"

#include <commctrl.h>

BEGIN_MESSAGE_TABLE(CDlgProgress, CDialog)
    OnMessage<&CDlgProgress::OnSize>(WM_SIZE),
END_MESSAGE_TABLE()

void CDlgProgress::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_PROGRESS_BAR, progressBar);
}

void CDlgProgress::SetPos(int percent)
{
    if (progressBar.m_hWnd)
        progressBar.SendMessage(PBM_SETPOS, static_cast<WPARAM>(percent));
}

int CDlgProgress::GetPos() const
{
    return progressBar.m_hWnd ? static_cast<int>(::SendMessageW(progressBar.m_hWnd, PBM_GETPOS, 0, 0)) : 0;
}

void CDlgProgress::OnSize(Message& m)
{
    // The text over the upper half, the bar under it.
    RECT rc = GetClientRect();
    const int half = rc.bottom / 2;
    if (HWND text = GetDlgItem(IDC_PROGRESS_TEXT))
        ::MoveWindow(text, 2, 0, rc.right - 4, half, TRUE);
    if (progressBar.m_hWnd)
        progressBar.MoveWindow(2, half, rc.right - 4, rc.bottom - half - 1);
    m.handled = false;
}
