#include "Scope.h"

#include "AppSettings.h"

#include <algorithm>
#include <cmath>

BEGIN_MESSAGE_TABLE(Cscope, CWnd)
    OnMessage<&Cscope::OnPaint>(WM_PAINT),
    OnMessage<&Cscope::OnSize>(WM_SIZE),
    OnMessage<&Cscope::OnNothing>(WM_CONTEXTMENU),
    OnCommand<&Cscope::OnNothing>(1124),
    OnCommand<&Cscope::OnNothing>(1125),
END_MESSAGE_TABLE()

namespace {

const COLORREF kCurveLayerFill = RGB(5, 0, 0);

int PositiveMod10(int v)
{
    return ((v % 10) + 10) % 10;
}

int Width(const RECT& r)
{
    return r.right - r.left;
}

int Height(const RECT& r)
{
    return r.bottom - r.top;
}

SIZE TextSize(HDC dc, const CString& text)
{
    SIZE s = {};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
    return s;
}

void Text(HDC dc, int x, int y, const CString& text)
{
    if (!text.empty())
        ::TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}

// Four lines from the top-left corner clockwise back to it.
void Outline(HDC dc, const RECT& r)
{
    ::MoveToEx(dc, r.left, r.top, nullptr);
    ::LineTo(dc, r.right, r.top);
    ::LineTo(dc, r.right, r.bottom);
    ::LineTo(dc, r.left, r.bottom);
    ::LineTo(dc, r.left, r.top);
}

}  // namespace

RECT ScopePlotRect(const RECT& window, int left, int top, int right, int bottom)
{
    RECT p = {window.left + left, window.top + top, window.right - right, window.bottom - bottom};
    p.left += PositiveMod10(Width(window) - left - right);
    p.top += PositiveMod10(Height(window) - top - bottom);
    return p;
}

RECT ScopeFitLabels(const RECT& plot, const RECT& shown, const ScopeLabelSizes& l)
{
    auto tens = [](int by) { return by > 0 ? (by + 9) / 10 * 10 : 0; };
    RECT p = plot;
    // Two pixels clear of the window's left edge, where the frame may run.
    p.left += tens(shown.left + 2 + l.yWidth + 5 - p.left);
    p.top += tens(shown.top + l.height / 2 - p.top);
    // The x labels' digits end at their baseline.
    p.bottom -= tens(p.bottom + l.height / 2 - 3 + l.ascent - shown.bottom);
    return p;
}

std::vector<CString> ScopeYLabels(double yMax, double yMin, int slot)
{
    const CString format = ScopeYFormat(slot);
    auto shown = [slot](double v) { return slot != 0 ? v / 10 : v; };
    std::vector<CString> labels;
    double value = yMax;
    labels.push_back(ScopeLabel(format.c_str(), shown(value)));
    const double step = std::fabs(yMax - yMin) / 10;
    for (int i = 1; i <= 10; ++i) {
        value -= step;
        if (i % 2 == 0)
            labels.push_back(ScopeLabel(format.c_str(), shown(value)));
    }
    return labels;
}

int ScopeXDivisions(double a, double b)
{
    const double c = (a - b) / 10;
    if (!(c > 2))
        return 1;
    const double whole = std::trunc(c);
    for (int d = 7; d >= 2; --d)
        if (std::fmod(whole, d) == 0)
            return d;
    return 2;
}

int ScopeYDivisions(double a, double b)
{
    const double c = std::fabs(a - b) / 10;
    if (c >= 50)
        return 2;
    if (c <= 2)
        return 1;
    const double whole = std::trunc(c);
    for (int d = 7; d >= 3; --d)
        if (std::fmod(whole, d) == 0)
            return d == 7 ? 2 : d;
    return 2;
}

int ScopeMinorLinesX(int n)
{
    switch (n) {
    case 1: case 2: case 3: case 4: case 6: case 7:
        return 10 * n;
    default:
        return 50;
    }
}

int ScopeMinorLinesY(int n)
{
    switch (n) {
    case 1: case 3: case 4: case 5: case 6: case 7:
        return 10 * n;
    default:
        return 20;
    }
}

void ScopeYRange(double& low, double& high, int slot)
{
    if (std::fabs(high - low) < 10 && slot == 0) {
        low -= 5;
        high += 5;
    }
    if (high == low) {
        low -= 1;
        high += 1;
    }
}

CString ScopeYFormat(int slot)
{
    CString f;
    f.Format(L"%%.%df", std::clamp(slot, 0, 4));
    return f;
}

CString ScopeLabel(const wchar_t* format, double value)
{
    CString s;
    s.Format(format, value);
    // "-0", "-0.0": a value that rounds to zero from below.
    if (s.size() > 1 && s[0] == L'-' && s.find_first_not_of(L"0.", 1) == CString::npos)
        s[0] = L' ';
    return s;
}

bool ScopePoint(double age, double value, double xLow, double yLow, double xPerPixel, double yPerPixel,
                const RECT& plot, POINT& p)
{
    if (!std::isfinite(xPerPixel) || !std::isfinite(yPerPixel) || xPerPixel == 0 || yPerPixel == 0)
        return false;
    if (plot.right <= plot.left || plot.bottom <= plot.top)
        return false;
    const double fx = std::trunc((age - xLow) / xPerPixel);
    const double fy = std::trunc((value - yLow) / yPerPixel);
    if (std::isnan(fx) || std::isnan(fy))
        return false;
    const double x = std::clamp(plot.left + fx, static_cast<double>(plot.left), plot.right - 1.0);
    const double y = std::clamp(plot.bottom - fy, static_cast<double>(plot.top), plot.bottom - 1.0);
    p.x = static_cast<LONG>(x);
    p.y = static_cast<LONG>(y);
    return true;
}

bool Cscope::Layer::Ensure(HDC compatible, int w, int h)
{
    if (w <= 0 || h <= 0) {
        Free();
        return false;
    }
    if (dc && w == width && h == height)
        return true;
    Free();
    dc = ::CreateCompatibleDC(compatible);
    m_bitmap = ::CreateCompatibleBitmap(compatible, w, h);
    if (!dc || !m_bitmap) {
        Free();
        return false;
    }
    m_old = ::SelectObject(dc, m_bitmap);
    width = w;
    height = h;
    return true;
}

void Cscope::Layer::Free()
{
    if (dc && m_old)
        ::SelectObject(dc, m_old);
    if (dc)
        ::DeleteDC(dc);
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    dc = nullptr;
    m_bitmap = nullptr;
    m_old = nullptr;
    width = height = 0;
}

Cscope::Cscope()
{
    m_labelFont.CreateFont(14, 200, ANSI_CHARSET, FF_SWISS, L"Microsoft Sans Serif");
    m_captionFont.CreateFont(14, 200, ANSI_CHARSET, FF_SWISS, L"Microsoft Sans Serif");
    m_gridPen.CreatePen(PS_SOLID, 1, gridColour);
    m_framePen.CreatePen(PS_SOLID, 0, frameColour);
}

Cscope::~Cscope()
{
    // The window goes first: no paint may reach freed layers.
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

RECT Cscope::ShownPart() const
{
    // The layers go onto the window at its origin: what lies left of or
    // above it, or past the window's client area, is not seen.
    RECT shown = {0, 0, Width(windowRect), Height(windowRect)};
    if (m_hWnd) {
        const RECT client = GetClientRect();
        ::IntersectRect(&shown, &shown, &client);
    }
    ::IntersectRect(&shown, &shown, &windowRect);
    return shown;
}

COLORREF Cscope::Background() const
{
    return g_Settings.bkColor == 1 ? RGB(0, 0, 0) : RGB(120, 135, 165);
}

void Cscope::Reset(int left, int top, int right, int bottom, int slot)
{
    frameColour = RGB(0, 0, 0);
    gridColour = g_Settings.bkColor == 1 ? RGB(121, 135, 146) : RGB(0, 130, 0);
    m_gridPen.CreatePen(PS_SOLID, 1, gridColour);
    m_framePen.CreatePen(PS_SOLID, 0, frameColour);
    windowRect = {left, top, right, bottom + 5};
    if (g_Settings.windowsVersion == 5)
        windowRect.top -= 5;
    for (Curve& c : curves)
        c.clear();
    scaleSlot = std::clamp(slot, 0, kSlots - 1);
}

void Cscope::AddSample(double value)
{
    double low = value, high = value;
    for (tagDISFORCE& s : curves[0]) {
        s.x += 1;
        low = std::min(low, s.y);
        high = std::max(high, s.y);
    }
    ScopeYRange(low, high, scaleSlot);
    yMin[scaleSlot] = low;
    yMax[scaleSlot] = high;
    if (curves[0].size() >= kMaxSamples)
        curves[0].pop_back();
    curves[0].push_front({0, value});
    Redraw();
}

void Cscope::AddTripleSample(double a, double b, double c)
{
    double low = a, high = a;
    const double values[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        for (tagDISFORCE& s : curves[i]) {
            s.x += 1;
            low = std::min(low, s.y);
            high = std::max(high, s.y);
        }
        if (curves[i].size() >= kMaxSamples)
            curves[i].pop_back();
        curves[i].push_front({0, values[i] + 0.2});
    }
    ScopeYRange(low, high, scaleSlot);
    yMin[scaleSlot] = low;
    yMax[scaleSlot] = high;
    Redraw();
}

int Cscope::ChooseXDivisions(double a, double b)
{
    return xDivisions = ScopeXDivisions(a, b);
}

int Cscope::ChooseYDivisions(double a, double b)
{
    return yDivisions = ScopeYDivisions(a, b);
}

void Cscope::Redraw()
{
    HDC reference = ::GetDC(m_hWnd);
    const int w = Width(windowRect), h = Height(windowRect);
    // The layers follow the window rectangle's size.
    if (m_grid.Ensure(reference, w, h) && m_curves.Ensure(reference, w, h)) {
        DrawGrid(m_grid.dc);
        PlotCurves(reference);
    }
    ::ReleaseDC(m_hWnd, reference);
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void Cscope::DrawGrid(HDC dc)
{
    const int s = scaleSlot;
    CDC out(dc);
    // The whole layer, not only the window rectangle: where a rectangle
    // reaching past the parent's edge leaves part of the layer uncovered,
    // that part shows the background too.
    out.FillSolidRect(0, 0, m_grid.width, m_grid.height, Background());
    CSelect font(dc, m_labelFont.m_hObject);
    zeroSize = TextSize(dc, L"0");
    yFormat = ScopeYFormat(s);
    // The plot leaves its labels room to show whole.
    ScopeLabelSizes labels = {};
    for (const CString& label : ScopeYLabels(yMax[s], yMin[s], s))
        labels.yWidth = std::max(labels.yWidth, static_cast<int>(TextSize(dc, label).cx));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    labels.height = zeroSize.cy;
    labels.ascent = metrics.tmAscent;
    plotRect = ScopeFitLabels(ScopePlotRect(windowRect, insetLeft, insetTop, insetRight, insetBottom), ShownPart(),
                              labels);
    const RECT& p = plotRect;
    const bool plotShown = p.right > p.left && p.bottom > p.top;
    if (plotShown)
        out.FillSolidRect(p, plotColour);
    {
        CSelect pen(dc, m_gridPen.m_hObject);
        Outline(dc, windowRect);
        Outline(dc, p);
    }

    const int xStep = Width(p) / 10, yStep = Height(p) / 10;
    const int ny = ChooseYDivisions(yMax[s], yMin[s]);
    const int nx = ChooseXDivisions(xLabelTop[s], xLabelBottom[s]);
    if (plotShown) {
        const int xLines = ScopeMinorLinesX(nx), yLines = ScopeMinorLinesY(ny);
        const int xMinor = xStep / (xLines / 10), yMinor = yStep / (yLines / 10);
        {
            CSelect pen(dc, m_framePen.m_hObject);
            for (int k = 1; k < xLines; ++k)
                Line(dc, p.left + k * xMinor, p.top + 1, p.left + k * xMinor, p.bottom);
            for (int k = 1; k < yLines; ++k)
                Line(dc, p.left + 1, p.top + k * yMinor, p.right, p.top + k * yMinor);
        }
        CSelect pen(dc, m_gridPen.m_hObject);
        for (int k = 1; k <= 9; ++k) {
            Line(dc, p.left + k * xStep, p.top + 1, p.left + k * xStep, p.bottom);
            Line(dc, p.left + 1, p.top + k * yStep, p.right, p.top + k * yStep);
        }
    }

    textColour = RGB(255, 255, 255);
    ::SetTextColor(dc, textColour);
    ::SetBkMode(dc, TRANSPARENT);
    DrawXLabels(dc);
    DrawYLabels(dc);

    if (plotShown) {
        xUnitsPerPixel = (xMax[s] - xMin[s]) / Width(p);
        yUnitsPerPixel = (yMax[s] - yMin[s]) / Height(p);
    }
}

void Cscope::DrawXLabels(HDC dc)
{
    const int s = scaleSlot;
    const RECT& p = plotRect;
    CSelect font(dc, m_labelFont.m_hObject);
    ::SetTextColor(dc, RGB(255, 255, 255));
    const SIZE caption = TextSize(dc, xCaption);
    Text(dc, p.left + Width(p) / 2 - caption.cx / 2, p.bottom + zeroSize.cy / 2 * 3, xCaption);

    const int y = p.bottom + zeroSize.cy / 2 - 3;
    double value = xLabelTop[s];
    CString text = ScopeLabel(L"%.0f", value);
    Text(dc, p.right - TextSize(dc, text).cx / 2, y, text);
    xLabelStep = (xLabelTop[s] - xLabelBottom[s]) / 10;
    xLabelPixels = Width(p) / 10.0;
    for (int k = 9; k >= 0; --k) {
        value -= xLabelStep;
        text = ScopeLabel(L"%.0f", value);
        Text(dc, static_cast<int>(k * xLabelPixels + p.left - TextSize(dc, text).cx / 1.4), y, text);
    }
}

void Cscope::DrawYLabels(HDC dc)
{
    const int s = scaleSlot;
    const RECT& p = plotRect;
    ::SetTextColor(dc, g_Settings.bkColor == 1 ? RGB(255, 255, 255) : RGB(0, 255, 0));
    // The top label on the plot's top edge, then every second line down.
    const std::vector<CString> labels = ScopeYLabels(yMax[s], yMin[s], s);
    yLabelStep = std::fabs(yMax[s] - yMin[s]) / 10;
    yLabelPixels = Height(p) / 10.0;
    for (size_t k = 0; k < labels.size(); ++k) {
        const SIZE size = TextSize(dc, labels[k]);
        const int y = k == 0 ? p.top - size.cy / 2 : static_cast<int>(p.top + 2 * k * yLabelPixels - size.cy / 2);
        Text(dc, p.left - size.cx - 5, y, labels[k]);
    }

    CSelect font(dc, m_captionFont.m_hObject);
    const SIZE size = TextSize(dc, yCaption);
    Text(dc, p.left - size.cx / 2, 3, yCaption);
}

void Cscope::PlotCurves(HDC reference)
{
    if (!m_curves.Ensure(reference, Width(windowRect), Height(windowRect)))
        return;
    const int s = scaleSlot;
    HDC dc = m_curves.dc;
    CDC(dc).FillSolidRect(plotRect, kCurveLayerFill);
    const int shownCurves = curves[1].empty() ? 1 : 3;
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
    for (int i = 0; i < shownCurves; ++i) {
        POINT points[kMaxSamples];
        int n = 0;
        for (const tagDISFORCE& sample : curves[i]) {
            if (n == static_cast<int>(kMaxSamples))
                break;
            if (!ScopePoint(sample.x, sample.y, xMin[s], yMin[s], xUnitsPerPixel, yUnitsPerPixel, plotRect,
                            points[n]))
                break;  // no scale to place it on: the curve is left out
            ++n;
        }
        if (n == static_cast<int>(std::min(curves[i].size(), kMaxSamples)) && n > 0) {
            ::SetDCPenColor(dc, curveColour[i]);
            ::Polyline(dc, points, n);
        }
    }
    ::SelectObject(dc, oldPen);
}

void Cscope::OnPaint()
{
    CPaintDC dc(this);
    const RECT client = GetClientRect();
    int w = 0, h = 0;
    if (m_grid.dc && m_curves.dc && m_composite.Ensure(dc, m_grid.width, m_grid.height)) {
        w = m_grid.width;
        h = m_grid.height;
        const RECT& p = plotRect;
        ::BitBlt(m_composite.dc, 0, 0, w, h, m_grid.dc, 0, 0, SRCCOPY);
        ::BitBlt(m_composite.dc, p.left, p.top, Width(p), Height(p), m_curves.dc, p.left, p.top, SRCPAINT);
        ::BitBlt(dc, 0, 0, w, h, m_composite.dc, 0, 0, SRCCOPY);
    }
    // Whatever the layers do not cover (before the first drawing, or a
    // window larger than the chart's rectangle).
    if (client.right > w)
        dc.FillSolidRect(w, 0, client.right - w, client.bottom, Background());
    if (client.bottom > h && w > 0)
        dc.FillSolidRect(0, h, w, client.bottom - h, Background());
}

void Cscope::OnSize(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    // The new size shows the chart drawn again, the uncovered rest in the
    // background colour.
    if (m_grid.dc)
        Redraw();
    else
        Invalidate(false);
}
