#include "vehicle/ScopeDlg.h"

#include "AppSettings.h"
#include "DataExchange.h"
#include "PostedBlock.h"
#include "PrivateMessages.h"

#include <memory>

HWND g_hScopeWnd = nullptr;

namespace {
const COLORREF kPanelColour = RGB(88, 92, 95);
// A burst of resizes sets the charts up once, this long after the last.
const UINT_PTR kResizeTimer = 1;
const UINT kResizeMs = 50;

bool SpeedInMiles()
{
    return g_Settings.languageCode == 3;
}

// 200 samples across, labelled 200 down to 0; 0 to 10 until the samples
// choose the vertical range.
void SetUpChart(Cscope& chart, const RECT& c, int slot)
{
    chart.Reset(c.left - 15, c.top, c.right - 2, c.bottom - 2, slot);
    chart.xMin[slot] = 0;
    chart.xMax[slot] = 200;
    chart.xLabelTop[slot] = 200;
    chart.xLabelBottom[slot] = 0;
    chart.xLabelFactor = 1;
    chart.yMin[slot] = 0;
    chart.yMax[slot] = 10;
    chart.Redraw();
}
}  // namespace

void ClearScopeCharts()
{
    if (auto* scope = dynamic_cast<CScopeDlg*>(CWnd::FromHandlePermanent(g_hScopeWnd)))
        scope->ResetCharts();
}

BEGIN_MESSAGE_TABLE(CScopeDlg, CDialog)
    OnMessage<&CScopeDlg::OnSize>(WM_SIZE),
    OnMessage<&CScopeDlg::OnTimer>(WM_TIMER),
    OnMessage<&CScopeDlg::OnDestroy>(WM_DESTROY),
    OnMessages<&CScopeDlg::OnCtlColor>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
    OnMessage<&CScopeDlg::OnSpeedSample>(WM_SCOPE_SPEED),
    OnMessage<&CScopeDlg::OnAccelerationSample>(WM_SCOPE_ACCEL),
    OnMessage<&CScopeDlg::OnSpeedUnit>(WM_SCOPE_UNIT),
    OnCommand<&CScopeDlg::ShowSpeedChart>(IDC_SHOW_SPEED_CHART, BN_CLICKED),
END_MESSAGE_TABLE()

CScopeDlg::CScopeDlg() : CDialog(IDD_SCOPE)
{
    brush.CreateSolidBrush(kPanelColour);
}

CScopeDlg::~CScopeDlg()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

void CScopeDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_SPEED_CHART, speedChart);
    DDX_Control(dx, IDC_ACCEL_CHART, accelChart);
    DDX_Control(dx, IDC_BRAKE_LABEL, brakeLabel);
}

BOOL CScopeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    accelChart.ShowWindow(SW_HIDE);
    if (!g_hScopeWnd)
        g_hScopeWnd = m_hWnd;
    ResetCharts();
    brakeLabel.ShowWindow(SW_HIDE);
    LOGFONTW lf = {};
    if (HFONT f = reinterpret_cast<HFONT>(brakeLabel.SendMessage(WM_GETFONT)))
        ::GetObjectW(f, sizeof lf, &lf);
    lf.lfHeight = 60;
    lstrcpynW(lf.lfFaceName, L"隶书", LF_FACESIZE);
    if (m_brakeFont.Attach(::CreateFontIndirectW(&lf)))
        brakeLabel.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_brakeFont)), FALSE);
    return TRUE;
}

void CScopeDlg::ResetCharts()
{
    const RECT c = GetClientRect();
    // The charts cover the panel; each draws within its own rectangle.
    for (Cscope* chart : {&speedChart, &accelChart})
        if (chart->m_hWnd)
            chart->MoveWindow(0, 0, c.right, c.bottom, false);
    SetUpChart(speedChart, c, 0);
    SetUpChart(accelChart, c, 1);
    speedInMiles = SpeedInMiles();
}

void CScopeDlg::FollowSpeedUnit()
{
    // Behind the samples already posted: they are of the unit the chart
    // holds.
    if (m_hWnd)
        PostMessage(WM_SCOPE_UNIT, SpeedInMiles() ? 1 : 0, 0);
}

LRESULT CScopeDlg::OnSpeedUnit(WPARAM wParam, LPARAM)
{
    const bool miles = wParam != 0;
    if (miles == speedInMiles)
        return 0;
    // One unit on the axis: the samples of the other go.
    const RECT c = GetClientRect();
    SetUpChart(speedChart, c, 0);
    speedInMiles = miles;
    return 0;
}

void CScopeDlg::ShowSpeedChart()
{
    brakeLabel.ShowWindow(SW_HIDE);
    accelChart.ShowWindow(SW_HIDE);
    speedChart.ShowWindow(SW_SHOW);
}

void CScopeDlg::ShowAccelerationChart()
{
    brakeLabel.ShowWindow(SW_HIDE);
    speedChart.ShowWindow(SW_HIDE);
    accelChart.ShowWindow(SW_SHOW);
}

void CScopeDlg::OnSize(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (!brakeLabel.m_hWnd)
        return;
    const RECT c = GetClientRect();
    brakeLabel.MoveWindow(c.right / 2 - 60, c.bottom / 2 - 30, 120, 60);
    SetTimer(kResizeTimer, kResizeMs);
}

void CScopeDlg::OnDestroy(Message& m)
{
    // Samples posted from now on have nowhere to go.
    if (g_hScopeWnd == m_hWnd)
        g_hScopeWnd = nullptr;
    m.handled = false;
}

void CScopeDlg::OnTimer(Message& m)
{
    if (m.wParam != kResizeTimer) {
        m.handled = false;
        return;
    }
    KillTimer(kResizeTimer);
    ResetCharts();
}

void CScopeDlg::OnCtlColor(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (reinterpret_cast<HWND>(m.lParam) == brakeLabel.m_hWnd) {
        HDC dc = reinterpret_cast<HDC>(m.wParam);
        ::SetBkColor(dc, kPanelColour);
        ::SetTextColor(dc, RGB(255, 0, 0));
    }
    m.result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush));
}

LRESULT CScopeDlg::OnSpeedSample(WPARAM wParam, LPARAM)
{
    speedChart.AddSample(static_cast<double>(wParam));
    return 0;
}

void CScopeDlg::OnAccelerationSample(Message& m)
{
    m.result = 0;
    std::unique_ptr<AccelerationSample> s = TakeBlock<AccelerationSample>(m);
    if (s)
        accelChart.AddTripleSample(s->x, s->y, s->z);
}
