#include "vehicle/ScopeMenu.h"

#include "AppSettings.h"
#include "LanguageHolder.h"
#include "vehicle/ScopeDlg.h"
#include "vehicle/SidePanelLayout.h"
#include "TextExtent.h"
#include "StringIds.h"

namespace {

const int kButtonIds[5] = {IDC_LEGEND_SPEED_BUTTON, IDC_LEGEND_ACCEL_BUTTON, IDC_LEGEND_SPARE1, IDC_LEGEND_SPARE2,
                           IDC_LEGEND_SPARE3};
const int kAxisLegends[3] = {IDC_LEGEND_X, IDC_LEGEND_Y, IDC_LEGEND_Z};

HBITMAP LoadButtonBitmap(int id)
{
    return static_cast<HBITMAP>(::LoadImageW(CDialog::ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                             LR_LOADMAP3DCOLORS));
}

CScopeDlg* ScopePanel()
{
    return dynamic_cast<CScopeDlg*>(CWnd::FromHandlePermanent(g_hScopeWnd));
}

void Place(HWND dialog, int id, const PanelRect& r)
{
    if (HWND w = ::GetDlgItem(dialog, id))
        ::MoveWindow(w, r.x, r.y, r.w, r.h, TRUE);
}

}  // namespace

BEGIN_MESSAGE_TABLE(CScopeMenu, CDialog)
    OnMessage<&CScopeMenu::OnSize>(WM_SIZE),
    OnMessages<&CScopeMenu::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
    OnCommand<&CScopeMenu::OnShowSpeed>(IDC_LEGEND_SPEED_BUTTON, BN_CLICKED),
    OnCommand<&CScopeMenu::OnShowAcceleration>(IDC_LEGEND_ACCEL_BUTTON, BN_CLICKED),
END_MESSAGE_TABLE()

CScopeMenu::CScopeMenu() : CDialog(IDD_SCOPE_LEGEND)
{
    brush.CreateSolidBrush(g_Settings.bkColor == 1 ? RGB(0, 0, 0) : RGB(4, 33, 66));
}

CScopeMenu::~CScopeMenu()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

BOOL CScopeMenu::OnInitDialog()
{
    CDialog::OnInitDialog();
    const int images[5] = {IDB_SPEED_LIT_CN, IDB_ACCEL_DIM_CN, IDB_LEGEND_SPARE1, IDB_LEGEND_SPARE2,
                           IDB_LEGEND_SPARE3};
    for (int i = 0; i < 5; ++i) {
        buttons[i].CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 0, 38, 17, m_hWnd,
                            static_cast<UINT_PTR>(kButtonIds[i]));
        buttons[i].SetBitmap(LoadButtonBitmap(images[i]), RGB(0, 0, 0));
    }
    for (int i = 2; i < 5; ++i)
        buttons[i].ShowWindow(SW_HIDE);
    for (int id : kAxisLegends)
        ::ShowWindow(GetDlgItem(id), SW_HIDE);
    return TRUE;
}

void CScopeMenu::UpdateTexts()
{
    if (!m_hWnd || !g_Settings.language)
        return;
    const LanguageHolder& l = *g_Settings.language;
    ::SetDlgItemTextW(m_hWnd, IDC_LEGEND_SPEED, l.Text(IDS_PLAYBACK_SPEED).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_LEGEND_X, l.Text(IDS_ACCE_X).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_LEGEND_Y, l.Text(IDS_ACCE_Y).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_LEGEND_Z, l.Text(IDS_ACCE_Z).c_str());
    // The speed legend names the unit: the speed chart follows it.
    if (CScopeDlg* scope = ScopePanel())
        scope->FollowSpeedUnit();
}

void CScopeMenu::SetButtonImages(int a, int b, int c, int d)
{
    if (!buttons[0].m_hWnd)
        return;
    buttons[0].SetBitmap(LoadButtonBitmap(speedShown ? a : b), RGB(0, 0, 0));
    buttons[1].SetBitmap(LoadButtonBitmap(speedShown ? c : d), RGB(0, 0, 0));
    buttons[0].Invalidate();
    buttons[1].Invalidate();
}

void CScopeMenu::LoadLanguageImages()
{
    const LegendImages i = LegendImagesFor(g_Settings.languageCode);
    SetButtonImages(i.speedLit, i.speedDim, i.accelDim, i.accelLit);
}

void CScopeMenu::LayoutButtons()
{
    if (!m_hWnd || !buttons[1].m_hWnd)
        return;
    const LegendBarLayout g = ComputeLegendBarLayout(GetClientRect(), g_Settings.languageCode,
                                                     OwnTextWidth(GetDlgItem(IDC_LEGEND_SPEED)));
    // The speed legend's width follows its text in the language.
    Place(m_hWnd, IDC_LEGEND_SPEED, g.speedLegend);
    Place(m_hWnd, IDC_LEGEND_SPEED_BUTTON, g.speedButton);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Place(m_hWnd, IDC_LEGEND_ACCEL_BUTTON, g.accelButton);
}

void CScopeMenu::OnSize(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (!GetDlgItem(IDC_LEGEND_SPEED))
        return;
    const LegendBarLayout g = ComputeLegendBarLayout(GetClientRect(), g_Settings.languageCode);
    for (int i = 0; i < 3; ++i)
        Place(m_hWnd, kAxisLegends[i], g.axisLegends[i]);
    LayoutButtons();
}

void CScopeMenu::OnShowSpeed()
{
    if (speedShown)
        return;
    speedShown = 1;
    LoadLanguageImages();
    if (CScopeDlg* scope = ScopePanel())
        scope->ShowSpeedChart();
    ::ShowWindow(GetDlgItem(IDC_LEGEND_SPEED), SW_SHOW);
    for (int id : kAxisLegends)
        ::ShowWindow(GetDlgItem(id), SW_HIDE);
}

void CScopeMenu::OnShowAcceleration()
{
    if (!speedShown)
        return;
    speedShown = 0;
    LoadLanguageImages();
    if (CScopeDlg* scope = ScopePanel())
        scope->ShowAccelerationChart();
    ::ShowWindow(GetDlgItem(IDC_LEGEND_SPEED), SW_HIDE);
    for (int id : kAxisLegends)
        ::ShowWindow(GetDlgItem(id), SW_SHOW);
}

void CScopeMenu::OnCtlColor(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    HDC dc = reinterpret_cast<HDC>(m.wParam);
    switch (::GetDlgCtrlID(reinterpret_cast<HWND>(m.lParam))) {
    case IDC_LEGEND_SPEED:
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkMode(dc, TRANSPARENT);
        break;
    case IDC_LEGEND_X:
        ::SetTextColor(dc, RGB(0, 255, 0));
        ::SetBkMode(dc, TRANSPARENT);
        break;
    case IDC_LEGEND_Y:
        ::SetTextColor(dc, RGB(255, 0, 0));
        ::SetBkMode(dc, TRANSPARENT);
        break;
    case IDC_LEGEND_Z:
        ::SetTextColor(dc, RGB(255, 255, 0));
        ::SetBkMode(dc, TRANSPARENT);
        break;
    case IDC_LEGEND_SPEED_BUTTON:
        ::SetBkMode(dc, TRANSPARENT);
        break;
    default:
        break;
    }
    m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush));
}

BOOL CScopeMenu::PreTranslateMessage(MSG* msg)
{
    // Escape on the bar closes nothing.
    return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE;
}
