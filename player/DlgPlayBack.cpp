#include "DlgPlayBack.h"

BOOL CDlgPlayBack::OnInitDialog()
{
    CDialog::OnInitDialog();
    controlPanel.Create(this);
    controlPanel.ShowWindow(SW_SHOW);
    LayoutPanes();
    return TRUE;
}

void CDlgPlayBack::LayoutPanes()
{
    if (!controlPanel.m_hWnd)
        return;
    RECT rc = GetClientRect();
    const int barHeight = 56;
    controlPanel.MoveWindow(0, rc.bottom - barHeight, rc.right, barHeight);
}

LRESULT CDlgPlayBack::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SIZE)
        LayoutPanes();
    return CDialog::WindowProc(msg, wParam, lParam);
}
