#include "Scope.h"

#include "AppSettings.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const COLORREF kBackground = RGB(120, 135, 165);
// The plot seen through the curve layer's fill, and the curves over it.
const COLORREF kPlot = RGB(5, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);

// The scale the scope panel gives both charts: 200 samples across, labels
// 200 down to 0, y 0 to 10 until the samples choose.
void PanelScale(Cscope& c, int slot)
{
    c.xMin[slot] = 0;
    c.xMax[slot] = 200;
    c.xLabelTop[slot] = 200;
    c.xLabelBottom[slot] = 0;
    c.xLabelFactor = 1;
    c.yMin[slot] = 0;
    c.yMax[slot] = 10;
}

// A chart window in a panel of its own, placed at the panel's origin.
struct ChartBench {
    // Shown without being activated: Wine takes seconds to destroy an
    // active top-level window.
    ChartBench(int width, int height)
    {
        panel.CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, nullptr, L"scope", WS_POPUP, 40, 40, width + 40, height + 40,
                       nullptr, 0);
        ::ShowWindow(panel.m_hWnd, SW_SHOWNOACTIVATE);
        chart.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, panel.m_hWnd, 465);
    }
    ~ChartBench()
    {
        chart.DestroyWindow();
        panel.DestroyWindow();
        wintest::Pump(0);
    }
    // The chart as the screen shows it, once it stopped changing.
    wintest::ScreenCapture Shown()
    {
        ::UpdateWindow(chart.m_hWnd);
        wintest::Pump(60);
        wintest::ScreenCapture last(chart.m_hWnd);
        for (int i = 0; i < 20; ++i) {
            wintest::Pump(50);
            wintest::ScreenCapture now(chart.m_hWnd);
            bool same = now.Width() == last.Width() && now.Height() == last.Height();
            for (int y = 0; same && y < now.Height(); ++y)
                for (int x = 0; same && x < now.Width(); ++x)
                    same = now.Pixel(x, y) == last.Pixel(x, y);
            if (same)
                return now;
            last = now;
        }
        return last;
    }
    CWnd panel;
    Cscope chart;
};

struct VersionAndScheme {
    VersionAndScheme(int version, int scheme)
        : m_version(g_Settings.windowsVersion), m_scheme(g_Settings.bkColor)
    {
        g_Settings.windowsVersion = version;
        g_Settings.bkColor = scheme;
    }
    ~VersionAndScheme()
    {
        g_Settings.windowsVersion = m_version;
        g_Settings.bkColor = m_scheme;
    }

private:
    int m_version, m_scheme;
};

}  // namespace

TEST(ScopeLayout, PlotRectangleIsWholeTensOfPixels)
{
    struct Case {
        RECT window, plot;
    } cases[] = {
        {{0, 0, 235, 155}, {35, 5, 225, 135}},
        {{0, 0, 200, 205}, {30, 5, 190, 185}},
        // The scope panel's rectangle on version code 5: it reaches past the
        // panel's left and top edges.
        {{-15, -5, 298, 153}, {18, 3, 288, 133}},
        // Too small for a plot: an empty one.
        {{0, 0, 30, 20}, {30, 10, 20, 0}},
    };
    for (const Case& c : cases) {
        RECT p = ScopePlotRect(c.window);
        EXPECT_EQ(p.left, c.plot.left) << c.window.right;
        EXPECT_EQ(p.top, c.plot.top) << c.window.right;
        EXPECT_EQ(p.right, c.plot.right) << c.window.right;
        EXPECT_EQ(p.bottom, c.plot.bottom) << c.window.right;
    }
}

TEST(ScopeLayout, LabelsGetRoomByWholeTens)
{
    // Labels 14 high (ascent 11): the top one reaches 7 above the plot, the
    // x labels' digits 15 below it.
    struct Case {
        RECT plot, shown;
        int yWidth;
        RECT fitted;
    } cases[] = {
        // Room enough: the plot stays.
        {{35, 10, 225, 140}, {0, 0, 235, 160}, 20, {35, 10, 225, 140}},
        // The scope panel's rectangle, 15 pixels left of the window: "100"
        // needs 2 + 20 + 5 pixels left of the plot.
        {{18, 3, 288, 133}, {0, 0, 298, 150}, 20, {28, 13, 288, 133}},
        {{18, 5, 288, 135}, {0, 0, 298, 150}, 7, {18, 15, 288, 135}},
        {{18, 8, 288, 138}, {0, 0, 298, 150}, 40, {48, 8, 288, 128}},
        // A plot that the labels leave no room: it may end up empty.
        {{18, 8, 48, 38}, {0, 0, 58, 60}, 40, {48, 8, 48, 38}},
    };
    for (const Case& c : cases) {
        const RECT p = ScopeFitLabels(c.plot, c.shown, {c.yWidth, 14, 11});
        EXPECT_EQ(p.left, c.fitted.left) << c.plot.left << " " << c.yWidth;
        EXPECT_EQ(p.top, c.fitted.top) << c.plot.top;
        EXPECT_EQ(p.right, c.fitted.right) << c.plot.right;
        EXPECT_EQ(p.bottom, c.fitted.bottom) << c.plot.bottom;
        // Whole tens: the grid's steps stay even.
        EXPECT_EQ((p.left - c.plot.left) % 10, 0);
        EXPECT_EQ((p.bottom - c.plot.bottom) % 10, 0);
    }
    // The labels of a range: the top value and every second step down.
    EXPECT_EQ(ScopeYLabels(125, 25, 0), (std::vector<CString>{L"125", L"105", L"85", L"65", L"45", L"25"}));
    EXPECT_EQ(ScopeYLabels(10, 0, 1), (std::vector<CString>{L"1.0", L"0.8", L"0.6", L"0.4", L"0.2", L"0.0"}));
}

TEST(ScopeLayout, DivisionsFollowTheLabelRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double a, b;
        int x, y;
    } cases[] = {
        {200, 0, 5, 5},  // c = 20: 2, 4 and 5 divide it (x); 4 and 5 (y)
        {10, 0, 1, 1},   // c = 1
        {20, 0, 1, 1},   // c = 2
        {30, 0, 3, 3},
        {40, 0, 4, 4},
        {60, 0, 6, 6},
        {110, 0, 2, 2},  // 11: nothing divides it
        {140, 0, 7, 2},  // 14: 7 divides it; in y 7 counts as 2
        {0, 140, 1, 2},  // y takes the distance, x the signed difference
        {25, 0, 2, 2},   // c = 2.5: its integer part 2
        {480, 0, 6, 6},
        {490, 0, 7, 2},
        {500, 0, 5, 2},  // c = 50: y caps at 2
        {nan, 0, 1, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScopeXDivisions(c.a, c.b), c.x) << c.a << " " << c.b;
        EXPECT_EQ(ScopeYDivisions(c.a, c.b), c.y) << c.a << " " << c.b;
    }
    struct Lines {
        int n, x, y;
    } lines[] = {{1, 10, 10}, {2, 20, 20}, {3, 30, 30}, {5, 50, 50}, {6, 60, 60}, {7, 70, 70}, {8, 50, 20}};
    for (const Lines& l : lines) {
        EXPECT_EQ(ScopeMinorLinesX(l.n), l.x) << l.n;
        EXPECT_EQ(ScopeMinorLinesY(l.n), l.y) << l.n;
    }
    Cscope chart;
    EXPECT_EQ(chart.ChooseXDivisions(200, 0), 5);
    EXPECT_EQ(chart.xDivisions, 5);
    EXPECT_EQ(chart.ChooseYDivisions(140, 0), 2);
    EXPECT_EQ(chart.yDivisions, 2);
}

TEST(ScopeLayout, YRangeAndLabels)
{
    struct Range {
        double low, high;
        int slot;
        double low2, high2;
    } ranges[] = {
        {30, 30, 0, 25, 35},     // constant speed: 10 units around it
        {0, 50, 0, 0, 50},
        {3, 9, 0, -2, 14},
        {1, 3, 1, 1, 3},         // the acceleration chart is not widened
        {0.2, 0.2, 1, -0.8, 1.2},  // but a range of no height is
        {-4, -4, 1, -5, -3},
    };
    for (const Range& r : ranges) {
        double low = r.low, high = r.high;
        ScopeYRange(low, high, r.slot);
        EXPECT_DOUBLE_EQ(low, r.low2) << r.low << " " << r.high << " slot " << r.slot;
        EXPECT_DOUBLE_EQ(high, r.high2) << r.low << " " << r.high << " slot " << r.slot;
    }
    EXPECT_EQ(ScopeYFormat(0), L"%.0f");
    EXPECT_EQ(ScopeYFormat(1), L"%.1f");
    EXPECT_EQ(ScopeYFormat(9), L"%.4f");
    struct Label {
        const wchar_t* format;
        double value;
        const wchar_t* text;
    } labels[] = {
        {L"%.0f", 0, L"0"},
        {L"%.0f", -0.0, L" 0"},
        {L"%.0f", -0.3, L" 0"},
        {L"%.1f", -0.04, L" 0.0"},  // a zero label never carries a minus sign
        {L"%.1f", -0.0, L" 0.0"},
        {L"%.1f", -1.0, L"-1.0"},
        {L"%.0f", -100, L"-100"},
        {L"%.0f", 200, L"200"},
        {L"%.1f", 2.5, L"2.5"},
    };
    for (const Label& l : labels)
        EXPECT_EQ(ScopeLabel(l.format, l.value), l.text) << l.value;
}

TEST(ScopeLayout, PointsStayInsideThePlot)
{
    const RECT plot = {35, 5, 225, 135};
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double age, value, xPerPixel, yPerPixel;
        bool placed;
        LONG x, y;
    } cases[] = {
        {0, 5, 1, 0.5, true, 35, 125},
        {189, 65, 1, 0.5, true, 224, 5},
        {0, 0, 1, 0.5, true, 35, 134},    // the lowest value: the plot's last row
        {0, 1e300, 1, 0.5, true, 35, 5},  // far off the scale: its edge
        {0, -1e300, 1, 0.5, true, 35, 134},
        {500, 5, 1, 0.5, true, 224, 125},
        {-10, 5, 1, 0.5, true, 35, 125},
        {0, 5, 1, 0, false, 0, 0},  // a range of no height
        {0, 5, 0, 0.5, false, 0, 0},
        {0, 5, 1, inf, false, 0, 0},
        {0, std::numeric_limits<double>::quiet_NaN(), 1, 0.5, false, 0, 0},
    };
    for (const Case& c : cases) {
        POINT p = {};
        EXPECT_EQ(ScopePoint(c.age, c.value, 0, 0, c.xPerPixel, c.yPerPixel, plot, p), c.placed) << c.age << " "
                                                                                                   << c.value;
        if (c.placed) {
            EXPECT_EQ(p.x, c.x) << c.age << " " << c.value;
            EXPECT_EQ(p.y, c.y) << c.age << " " << c.value;
        }
    }
}

TEST(Scope, KeepsTheLastTwoHundredSamples)
{
    VersionAndScheme v(2, 0);
    Cscope chart;
    chart.Reset(0, 0, 235, 155, 0);
    PanelScale(chart, 0);
    for (int i = 0; i <= 200; ++i)
        chart.AddSample(i);
    ASSERT_EQ(chart.curves[0].size(), 200u);
    EXPECT_EQ(chart.curves[0].front().y, 200);
    EXPECT_EQ(chart.curves[0].front().x, 0);
    EXPECT_EQ(chart.curves[0].back().y, 1);
    EXPECT_EQ(chart.curves[0].back().x, 199);
    EXPECT_TRUE(chart.curves[1].empty());

    // Three curves, one sample each per call, stored 0.2 up.
    chart.Reset(0, 0, 235, 155, 1);
    PanelScale(chart, 1);
    for (int i = 0; i < 205; ++i)
        chart.AddTripleSample(i, -i, 2 * i);
    for (const Cscope::Curve& c : chart.curves)
        EXPECT_EQ(c.size(), 200u);
    EXPECT_DOUBLE_EQ(chart.curves[1].front().y, -204 + 0.2);
    EXPECT_DOUBLE_EQ(chart.curves[2].back().y, 2 * 5 + 0.2);
}

TEST(Scope, ConstantInputKeepsAScale)
{
    VersionAndScheme v(2, 0);
    Cscope chart;
    chart.Reset(0, 0, 235, 155, 0);
    PanelScale(chart, 0);
    for (int i = 0; i < 50; ++i)
        chart.AddSample(30);
    EXPECT_EQ(chart.yMin[0], 25);
    EXPECT_EQ(chart.yMax[0], 35);

    // The first acceleration sample has nothing to range against.
    chart.Reset(0, 0, 235, 155, 1);
    PanelScale(chart, 1);
    chart.AddTripleSample(3, 3, 3);
    EXPECT_LT(chart.yMin[1], chart.yMax[1]);
    EXPECT_TRUE(std::isfinite(chart.yUnitsPerPixel));
    EXPECT_GT(chart.yUnitsPerPixel, 0);
}

TEST(Scope, ResetPlacesTheChartByTheVersionCode)
{
    {
        VersionAndScheme v(5, 0);
        Cscope chart;
        chart.AddSample(1);
        chart.Reset(-15, 0, 298, 148, 1);
        EXPECT_EQ(chart.windowRect.left, -15);
        EXPECT_EQ(chart.windowRect.top, -5);
        EXPECT_EQ(chart.windowRect.right, 298);
        EXPECT_EQ(chart.windowRect.bottom, 153);
        EXPECT_EQ(chart.scaleSlot, 1);
        EXPECT_TRUE(chart.curves[0].empty());
        EXPECT_EQ(chart.gridColour, RGB(0, 130, 0));
    }
    {
        VersionAndScheme v(2, 1);
        Cscope chart;
        chart.Reset(-15, 0, 298, 148, 99);  // no such slot: the last one
        EXPECT_EQ(chart.windowRect.top, 0);
        EXPECT_EQ(chart.scaleSlot, Cscope::kSlots - 1);
        EXPECT_EQ(chart.gridColour, RGB(121, 135, 146));
    }
}

TEST(ScopeWindow, PaintBeforeTheFirstDrawingShowsTheBackground)
{
    VersionAndScheme v(2, 0);
    ChartBench b(235, 160);
    wintest::ScreenCapture c = b.Shown();
    EXPECT_EQ(c.CountColour(0, 0, c.Width(), c.Height(), kBackground), c.Width() * c.Height());
}

TEST(ScopeWindow, CurvesInTheirColoursInsideThePlot)
{
    VersionAndScheme v(2, 0);
    ChartBench b(235, 160);
    b.chart.Reset(0, 0, 235, 155, 1);
    PanelScale(b.chart, 1);
    b.chart.Redraw();
    // Constant axes: the lowest (yellow) lies on the scale's minimum.
    for (int i = 0; i < 120; ++i)
        b.chart.AddTripleSample(80, 45, 20);
    wintest::ScreenCapture c = b.Shown();
    const RECT p = b.chart.plotRect;
    EXPECT_EQ(p.left, 35);
    EXPECT_EQ(p.top, 10);
    EXPECT_EQ(p.bottom, 140);
    // y = bottom - (value - yMin) / unitsPerPixel, the lowest on the last row.
    const double ypp = b.chart.yUnitsPerPixel;
    ASSERT_GT(ypp, 0);
    struct Curve {
        double value;
        COLORREF colour;
    } curves[] = {{80.2, kGreen}, {45.2, kRed}, {20.2, kYellow}};
    for (const Curve& k : curves) {
        int y = p.bottom - static_cast<int>((k.value - b.chart.yMin[1]) / ypp);
        if (y >= p.bottom)
            y = p.bottom - 1;
        EXPECT_GT(c.CountColour(p.left, y, p.left + 100, y + 1, k.colour), 85) << k.value;
    }
    // Nothing of a curve above or below the plot (the y labels to its left
    // are green too); the plot itself where no curve is.
    auto curve = [](COLORREF x) { return x == kGreen || x == kRed || x == kYellow; };
    EXPECT_EQ(c.Count(p.left, 0, c.Width(), p.top, curve), 0);
    EXPECT_EQ(c.Count(p.left, p.bottom, c.Width(), c.Height(), curve), 0);
    EXPECT_EQ(c.Pixel(p.left + 3, p.top + 3), kPlot);
    EXPECT_EQ(c.Pixel(2, 2), kBackground);
}

TEST(ScopeWindow, TheTwoHundredAndFirstSampleScrollsTheOldestOut)
{
    VersionAndScheme v(2, 0);
    ChartBench b(235, 160);
    b.chart.Reset(0, 0, 235, 155, 0);
    PanelScale(b.chart, 0);
    b.chart.Redraw();
    // The oldest sample a peak at the top, then 199 at a level below it.
    b.chart.AddSample(100);
    for (int i = 0; i < 199; ++i)
        b.chart.AddSample(50);
    const RECT p = b.chart.plotRect;
    auto green = [](COLORREF x) { return x == kGreen; };
    // The peak sits at the right edge (age 199), up in the top rows.
    wintest::ScreenCapture full = b.Shown();
    EXPECT_GT(full.Count(p.right - 4, p.top, p.right, p.top + 10, green), 0);
    b.chart.AddSample(50);
    wintest::ScreenCapture scrolled = b.Shown();
    EXPECT_EQ(b.chart.curves[0].size(), 200u);
    EXPECT_EQ(scrolled.Count(p.left, p.top, p.right, p.top + 10, green), 0);
    // The curve still runs across the whole plot.
    EXPECT_GT(scrolled.Count(p.left, p.top, p.left + 5, p.bottom, green), 0);
    EXPECT_GT(scrolled.Count(p.right - 5, p.top, p.right, p.bottom, green), 0);
}

TEST(ScopeWindow, ConstantSpeedDrawsALevelLineInTheMiddle)
{
    VersionAndScheme v(2, 0);
    ChartBench b(235, 160);
    b.chart.Reset(0, 0, 235, 155, 0);
    PanelScale(b.chart, 0);
    for (int i = 0; i < 60; ++i)
        b.chart.AddSample(30);
    wintest::ScreenCapture c = b.Shown();
    const RECT p = b.chart.plotRect;
    const int mid = p.bottom - static_cast<int>((30 - 25) / b.chart.yUnitsPerPixel);
    EXPECT_NEAR(mid, (p.top + p.bottom) / 2, 1);
    EXPECT_GT(c.CountColour(p.left, mid, p.right, mid + 1, kGreen), 50);
    EXPECT_EQ(c.CountColour(p.left, p.top, p.right, mid, kGreen), 0);
}

TEST(ScopeWindow, ScaleOfNoHeightOrWidthDrawsNoCurve)
{
    VersionAndScheme v(2, 0);
    ChartBench b(235, 160);
    b.chart.Reset(0, 0, 235, 155, 1);
    PanelScale(b.chart, 1);
    for (int i = 0; i < 30; ++i)
        b.chart.AddTripleSample(i, i, i);
    // The owner writes a scale with no height, then one with no width.
    b.chart.yMin[1] = b.chart.yMax[1] = 4;
    b.chart.Redraw();
    wintest::ScreenCapture flat = b.Shown();
    const RECT p = b.chart.plotRect;
    auto curve = [](COLORREF x) { return x == kGreen || x == kRed || x == kYellow; };
    EXPECT_EQ(flat.Count(p.left, p.top, p.right, p.bottom, curve), 0);
    b.chart.yMax[1] = 40;
    b.chart.xMax[1] = b.chart.xMin[1];
    b.chart.Redraw();
    wintest::ScreenCapture narrow = b.Shown();
    EXPECT_EQ(narrow.Count(p.left, p.top, p.right, p.bottom, curve), 0);
    b.chart.xMax[1] = 200;
    b.chart.Redraw();
    wintest::ScreenCapture back = b.Shown();
    EXPECT_GT(back.Count(p.left, p.top, p.right, p.bottom, curve), 0);
}

TEST(ScopeWindow, ResizedChartDrawsAtItsNewSize)
{
    VersionAndScheme v(2, 0);
    ChartBench b(400, 300);
    b.chart.MoveWindow(0, 0, 200, 150);
    b.chart.Reset(0, 0, 200, 145, 0);
    PanelScale(b.chart, 0);
    b.chart.Redraw();
    b.Shown();
    // The window grows; before the owner places the chart again, the new
    // part shows the background.
    b.chart.MoveWindow(0, 0, 400, 300);
    wintest::ScreenCapture grown = b.Shown();
    EXPECT_EQ(grown.Pixel(300, 250), kBackground);
    EXPECT_EQ(grown.Pixel(50, 100), kPlot);
    // Placed again at the new size: the plot fills it.
    b.chart.Reset(0, 0, 400, 295, 0);
    PanelScale(b.chart, 0);
    for (int i = 0; i < 100; ++i)
        b.chart.AddSample(20 + i % 7);
    wintest::ScreenCapture c = b.Shown();
    const RECT p = b.chart.plotRect;
    EXPECT_EQ(p.right, 390);
    EXPECT_EQ(p.bottom, 280);
    EXPECT_EQ(c.Pixel(p.right - 3, p.bottom - 3), kPlot);
    EXPECT_EQ(c.Pixel(395, 150), kBackground);
    EXPECT_GT(c.CountColour(p.left, p.top, p.right, p.bottom, kGreen), 100);
    // And smaller again.
    b.chart.MoveWindow(0, 0, 150, 120);
    b.chart.Reset(0, 0, 150, 115, 0);
    PanelScale(b.chart, 0);
    b.chart.Redraw();
    wintest::ScreenCapture small = b.Shown();
    const RECT q = b.chart.plotRect;
    EXPECT_EQ(small.Pixel(q.right - 2, q.bottom - 2), kPlot);
    EXPECT_EQ(small.Pixel(q.right + 3, q.bottom - 2), kBackground);
}

namespace {

// The labels' ink over the chart's light background: the y labels green,
// the x labels white, both smoothed into the background at their edges.
bool YLabelInk(COLORREF x)
{
    return GetGValue(x) - GetBValue(x) > 20 && x != RGB(0, 130, 0);
}

bool XLabelInk(COLORREF x)
{
    return GetRValue(x) > 160;
}

// The pixels of ink that texts drawn whole in the chart's label font leave.
int LabelInk(const std::vector<CString>& labels)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 30);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HFONT font = CreateFontW(14, 0, 0, 0, 200, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, L"Microsoft Sans Serif");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kGreen);
    HBRUSH background = CreateSolidBrush(kBackground);
    int ink = 0;
    for (const CString& label : labels) {
        RECT all = {0, 0, 100, 30};
        FillRect(dc, &all, background);
        TextOutW(dc, 10, 5, label.c_str(), static_cast<int>(label.size()));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x)
                ink += YLabelInk(GetPixel(dc, x, y));
    }
    DeleteObject(background);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return ink;
}

}  // namespace

TEST(ScopeWindow, LabelsShowWholeWhereThePanelPlacesTheChart)
{
    // The scope panel puts the chart's rectangle 15 pixels left of the
    // window, as wide as the panel less 2 and 3 pixels lower than it. Speeds
    // to 120 give three-digit labels, accelerations "8.0".
    VersionAndScheme v(2, 0);
    const struct {
        int width, height, slot;
    } cases[] = {{235, 102, 0}, {300, 110, 0}, {576, 117, 0}, {770, 122, 0}, {1100, 150, 0},
                 {576, 117, 1}, {770, 102, 1}};
    for (const auto& k : cases) {
        ChartBench b(k.width, k.height);
        b.chart.Reset(-15, 0, k.width - 2, k.height - 2, k.slot);
        PanelScale(b.chart, k.slot);
        for (int i = 0; i <= 120; i += 4) {
            if (k.slot == 0)
                b.chart.AddSample(i);
            else
                b.chart.AddTripleSample(i * 0.66, 1, 1);
        }
        wintest::ScreenCapture c = b.Shown();
        const RECT p = b.chart.plotRect;
        const int w = c.Width(), h = c.Height();
        const std::string where = std::to_string(k.width) + "x" + std::to_string(k.height) + " slot " +
                                  std::to_string(k.slot);
        // No label reaches the window's edges.
        EXPECT_EQ(c.Count(0, 0, 1, h, YLabelInk), 0) << where << ": a y label cut at the left";
        EXPECT_EQ(c.Count(0, 0, p.left, 1, YLabelInk), 0) << where << ": the top label cut";
        EXPECT_GT(c.Count(0, p.bottom + 1, w, h, XLabelInk), 30) << where;
        EXPECT_EQ(c.Count(0, h - 1, w, h, XLabelInk), 0) << where << ": x labels cut at the bottom";
        EXPECT_EQ(c.Count(w - 1, 0, w, h, XLabelInk), 0) << where << ": the last x label cut";
        // Each y label whole: as much ink as the texts drawn alone leave.
        const int ink = LabelInk(ScopeYLabels(b.chart.yMax[k.slot], b.chart.yMin[k.slot], k.slot));
        EXPECT_GT(ink, 100);
        EXPECT_EQ(c.Count(0, 1, p.left, h, YLabelInk), ink) << where << ": y labels not whole";
    }
}

TEST(ScopeWindow, DarkSchemeColours)
{
    VersionAndScheme v(2, 1);
    ChartBench b(235, 160);
    b.chart.Reset(0, 0, 235, 155, 0);
    PanelScale(b.chart, 0);
    b.chart.Redraw();
    wintest::ScreenCapture c = b.Shown();
    EXPECT_EQ(c.Pixel(2, 2), RGB(0, 0, 0));
    const RECT p = b.chart.plotRect;
    // A major grid line, seen through the curve layer's fill.
    const int x = p.left + (p.right - p.left) / 10;
    EXPECT_EQ(c.Pixel(x, (p.top + p.bottom) / 2 + 3), RGB(121 | 5, 135, 146));
}

TEST(ScopeWindow, RepaintsHoldNoGdiObjects)
{
    VersionAndScheme v(2, 0);
    ChartBench b(235, 160);
    b.chart.Reset(0, 0, 235, 155, 1);
    PanelScale(b.chart, 1);
    b.chart.AddTripleSample(1, 2, 3);
    ::UpdateWindow(b.chart.m_hWnd);
    const DWORD before = wintest::GdiObjectCount();
    for (int i = 0; i < 500; ++i) {
        b.chart.AddTripleSample(std::sin(i / 10.0) * 30, std::cos(i / 7.0) * 20, i % 13);
        ::UpdateWindow(b.chart.m_hWnd);
    }
    const DWORD after = wintest::GdiObjectCount();
    EXPECT_LE(after, before + 2) << before << " -> " << after;
}
