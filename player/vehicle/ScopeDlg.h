// CScopeDlg: the panel under the playback page with two strip charts, the
// vehicle's speed and its three acceleration axes, one shown at a time.
// The samples come from the playback control as posted messages to
// g_hScopeWnd: WM_SCOPE_SPEED with the speed, WM_SCOPE_ACCEL with an
// AccelerationSample block that the panel takes and frees.
#pragma once

#include "Dialog.h"
#include "Gdi.h"
#include "Scope.h"
#include "resource.h"

// The scope panel's window, once it exists.
extern HWND g_hScopeWnd;

struct AccelerationSample {
    double x, y, z;
};

class CScopeDlg;
// Both charts of the scope panel (when there is one) empty, with their
// scales; a new recording starts its curves afresh.
void ClearScopeCharts();

class CScopeDlg : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    CScopeDlg();
    ~CScopeDlg() override;

    Cscope speedChart;   // 465
    Cscope accelChart;   // 544
    CWnd brakeLabel;     // 551, never shown
    CBrush brush;

    void ShowSpeedChart();
    void ShowAccelerationChart();
    // Both charts over the client area again, empty, with their scales.
    void ResetCharts();
    // After a language change: when its speed unit is not the one of the
    // speed chart's samples, the chart starts afresh, once the samples
    // already on their way (in the old unit) have arrived.
    void FollowSpeedUnit();

    // The unit of the speed chart's samples: miles per hour (English) or
    // km/h.
    bool speedInMiles = false;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    void OnSize(Message& m);
    void OnDestroy(Message& m);
    void OnTimer(Message& m);
    void OnCtlColor(Message& m);
    LRESULT OnSpeedSample(WPARAM wParam, LPARAM);
    LRESULT OnSpeedUnit(WPARAM wParam, LPARAM);
    void OnAccelerationSample(Message& m);

    CFont m_brakeFont;
};
