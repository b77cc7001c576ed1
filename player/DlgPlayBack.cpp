#include "DlgPlayBack.h"

BEGIN_MESSAGE_TABLE(CDlgPlayBack, CDialog)
    OnMessage<&CDlgPlayBack::OnSize>(WM_SIZE),
END_MESSAGE_TABLE()

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

void CDlgPlayBack::OnSize(Message& m)
{
    LayoutPanes();
    m.handled = false;
}
