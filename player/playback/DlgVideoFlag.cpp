#include "playback/DlgVideoFlag.h"

namespace {
const COLORREF kFlagRed = RGB(255, 0, 0);
}

BEGIN_MESSAGE_TABLE(CDlgVideoFlag, CDialog)
    OnMessage<&CDlgVideoFlag::OnPaint>(WM_PAINT),
    OnMessages<&CDlgVideoFlag::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
END_MESSAGE_TABLE()

CDlgVideoFlag::CDlgVideoFlag() : CDialog(IDD_VIDEO_FLAG)
{
    m_brush.CreateSolidBrush(kFlagRed);
}

void CDlgVideoFlag::OnPaint()
{
    CPaintDC dc(this);
    RECT rc = GetClientRect();
    dc.FillSolidRect(rc, kFlagRed);
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = -13;
    lf.lfWeight = 200;
    CGdiObject font;
    font.Attach(::CreateFontIndirectW(&lf));
    CSelect select(dc, font.m_hObject);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    ::TextOutW(dc, rc.left + 4, rc.top + 1, L"R", 1);
}

void CDlgVideoFlag::OnCtlColor(Message& m)
{
    m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
}
