// A gallery of the position slider, the colour combo box and the two strip
// charts, laid out the way the player's panels hold them, saved as
// screenshots (screenshots/gallery-*.bmp in the test's folder) to look at.
#include "AppSettings.h"
#include "ComboBoxBT.h"
#include "Gdi.h"
#include "ProSliderCtrl.h"
#include "Scope.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// A panel that paints one colour and gives it to its controls.
class ColourPanel : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    explicit ColourPanel(COLORREF c) : colour(c) { m_brush.CreateSolidBrush(c); }
    COLORREF colour;

private:
    LRESULT OnErase(WPARAM dc, LPARAM)
    {
        RECT r = GetClientRect();
        ::FillRect(reinterpret_cast<HDC>(dc), &r, m_brush);
        return 1;
    }
    LRESULT OnColour(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush)); }
    CBrush m_brush;
};

BEGIN_MESSAGE_TABLE(ColourPanel, CWnd)
    OnMessage<&ColourPanel::OnErase>(WM_ERASEBKGND),
    OnMessages<&ColourPanel::OnColour>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
END_MESSAGE_TABLE()

const COLORREF kPanel = RGB(88, 92, 95);

std::string ShotPath(const char* name)
{
    ::CreateDirectoryW(L"screenshots", nullptr);
    return std::string("screenshots/gallery-") + name + ".bmp";
}

// A part of the gallery window as the screen shows it.
bool Save(HWND window, const char* name)
{
    return wintest::ScreenCapture(window).SaveBmp(ShotPath(name));
}

// The scope panel's scale for one chart, placed to fill its window exactly
// (with version code 5 the chart's rectangle starts 5 pixels above the top
// it is given).
void SetUpChart(Cscope& chart, const RECT& client, int slot)
{
    chart.Reset(client.left, client.top + 5, client.right, client.bottom - 5, slot);
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

TEST(Gallery, SliderComboAndChartsAsTheUserSeesThem)
{
    // What the player finds under Wine: the system draws the caption.
    const int version = g_Settings.windowsVersion;
    g_Settings.windowsVersion = 5;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);

    CWnd gallery;
    ASSERT_TRUE(gallery.CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, nullptr, L"gallery", WS_POPUP, 20, 20, 760, 480,
                                 nullptr, 0));

    // The control bar: the position slider over a five-minute recording,
    // its played part filled to the thumb.
    ColourPanel bar(kPanel);
    bar.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 760, 40, gallery.m_hWnd, 235);
    CProSliderCtrl slider;
    slider.SubclassWindow(::CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_NOTICKS,
                                            4, 9, 752, 20, bar.m_hWnd, reinterpret_cast<HMENU>(229),
                                            ::GetModuleHandleW(nullptr), nullptr));
    slider.ModifyStyle(0, TBS_FIXEDLENGTH);
    slider.SendMessage(TBM_SETTHUMBLENGTH, 13);
    slider.SendMessage(TBM_SETRANGEMIN, FALSE, 0);
    slider.SendMessage(TBM_SETRANGEMAX, TRUE, 300000);
    slider.SendMessage(TBM_SETPOS, TRUE, 110000);
    slider.rangeMin = 0;
    slider.rangeMax = 300000;
    slider.position = 110000;

    // The GPS panel: the map-provider combo on black.
    ColourPanel gps(RGB(0, 0, 0));
    gps.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 40, 760, 60, gallery.m_hWnd, 300);
    CComboBoxBT combo;
    combo.SubclassWindow(::CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, 150,
                                           8, 90, 120, gps.m_hWnd, reinterpret_cast<HMENU>(311),
                                           ::GetModuleHandleW(nullptr), nullptr));
    combo.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)));
    combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Google"));
    combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Baidu"));
    combo.SendMessage(CB_SETCURSEL, 0);

    // The scope panel, both charts side by side (the player shows one at a
    // time), each filling its own panel.
    ColourPanel speedPanel(kPanel), accelPanel(kPanel);
    speedPanel.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 100, 378, 380, gallery.m_hWnd, 647);
    accelPanel.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 382, 100, 378, 380, gallery.m_hWnd, 648);
    Cscope speed, accel;
    speed.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 378, 380, speedPanel.m_hWnd, 465);
    accel.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 378, 380, accelPanel.m_hWnd, 544);
    SetUpChart(speed, speedPanel.GetClientRect(), 0);
    SetUpChart(accel, accelPanel.GetClientRect(), 1);
    ::ShowWindow(gallery.m_hWnd, SW_SHOWNOACTIVATE);
    wintest::Pump(50);

    // A drive: speeding up, cruising, braking; the three axes around it.
    for (int i = 0; i < 230; ++i) {
        const double kmh = std::floor(std::max(0.0, 55 + 30 * std::sin(i / 30.0) + 6 * std::sin(i / 4.0)));
        speed.AddSample(kmh);
        accel.AddTripleSample(12 * std::sin(i / 11.0), 6 * std::cos(i / 17.0) - 3, -9 + 4 * std::sin(i / 5.0));
    }
    ::RedrawWindow(gallery.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    wintest::Pump(300);

    EXPECT_TRUE(Save(slider.m_hWnd, "slider"));
    EXPECT_TRUE(Save(speed.m_hWnd, "speed-chart"));
    EXPECT_TRUE(Save(accel.m_hWnd, "acceleration-chart"));
    EXPECT_TRUE(Save(gallery.m_hWnd, "window"));
    // Each control shows: the thumb, the white edit, curves in the charts.
    wintest::ScreenCapture all(gallery.m_hWnd);
    EXPECT_GT(all.CountColour(0, 0, 760, 40, RGB(0, 204, 0)), 0);
    EXPECT_GT(all.CountColour(150, 40, 240, 70, RGB(255, 255, 255)), 200);
    EXPECT_GT(all.CountColour(0, 100, 378, 480, RGB(0, 255, 0)), 200);
    EXPECT_GT(all.CountColour(382, 100, 760, 480, RGB(255, 0, 0)), 100);
    EXPECT_GT(all.CountColour(382, 100, 760, 480, RGB(255, 255, 0)), 100);

    // The combo dropped, the list over the panel below it.
    combo.SendMessage(CB_SHOWDROPDOWN, TRUE);
    wintest::Pump(200);
    RECT r = combo.GetWindowRect();
    EXPECT_TRUE(wintest::ScreenCapture(r.left - 20, r.top - 8, 200, 90).SaveBmp(ShotPath("combo")));
    combo.SendMessage(CB_SHOWDROPDOWN, FALSE);

    gallery.DestroyWindow();
    wintest::Pump(0);
    g_Settings.windowsVersion = version;
}
