#include "VideoStatic.h"

#include "AppSettings.h"
#include "Gdi.h"

CString VideoCaption(int channelIndex)
{
    CString s;
    s.Format(L"CAM%d", channelIndex + 1);
    return s;
}

COLORREF VideoBackground(int bkColor)
{
    return bkColor == 1 ? RGB(0, 0, 0) : RGB(88, 92, 95);
}

CVideoStatic::~CVideoStatic()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

BEGIN_MESSAGE_TABLE(CVideoStatic, CWnd)
    OnMessage<&CVideoStatic::OnPaint>(WM_PAINT),
END_MESSAGE_TABLE()

void CVideoStatic::OnPaint()
{
    CPaintDC dc(this);
    RECT rc = GetClientRect();
    dc.FillSolidRect(rc, VideoBackground(g_Settings.bkColor));
    int channel = 0;
    if (auto* pane = dynamic_cast<CVideoChannelSource*>(CWnd::FromHandlePermanent(GetParent())))
        channel = pane->VideoChannelIndex();
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(VideoCaption(channel).c_str(), &rc, DT_CENTER | DT_SINGLELINE);
}
