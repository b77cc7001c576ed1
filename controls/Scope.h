// Cscope: a strip chart of up to three curves (green, red, yellow). Each
// new sample enters at the left and the older ones move one step right; the
// chart keeps the last 200 samples of each curve, picks its vertical range
// from them and draws a black plot with a 10 x 10 grid and axis labels.
//
// The owner places the chart with Reset, writes the scale table entries of
// the slot it uses (xMin, xMax, yMin, yMax, xLabelTop, xLabelBottom) and
// calls Redraw; then feeds samples with AddSample or AddTripleSample. The
// drawing goes into two memory layers (grid and labels, curves) that
// WM_PAINT composites.
#pragma once

#include "Gdi.h"
#include "WString.h"
#include "Wnd.h"

#include <deque>
#include <vector>

class Cscope : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    Cscope();
    ~Cscope() override;

    static const int kSlots = 15;
    static const size_t kMaxSamples = 200;

    // One stored sample: its age in steps (0 = newest) and its value.
    struct tagDISFORCE {
        double x;
        double y;
    };
    using Curve = std::deque<tagDISFORCE>;  // newest first

    double xLabelFactor = 0;
    int yDivisions = 0;
    int xDivisions = 0;
    double xLabelStep = 0, yLabelStep = 0;
    double xLabelPixels = 0, yLabelPixels = 0;
    int scaleSlot = 0;
    // The scale table, one column per slot.
    double xMin[kSlots] = {}, xMax[kSlots] = {}, yMin[kSlots] = {}, yMax[kSlots] = {};
    double xLabelTop[kSlots] = {}, xLabelBottom[kSlots] = {};
    double xUnitsPerPixel = 0, yUnitsPerPixel = 0;
    // Margins around the plot, stored by every redraw.
    int insetLeft = 30, insetTop = 5, insetRight = 10, insetBottom = 20;
    SIZE zeroSize = {};
    CString yFormat, xCaption, yCaption;
    COLORREF plotColour = RGB(0, 0, 0);
    COLORREF curveColour[3] = {RGB(0, 255, 0), RGB(255, 0, 0), RGB(255, 255, 0)};
    COLORREF frameColour = RGB(0, 0, 0), gridColour = RGB(0, 130, 0);
    COLORREF textColour = RGB(255, 255, 255);
    RECT plotRect = {};
    // Where the chart sits in its parent; also the size of its layers.
    RECT windowRect = {0, 0, 200, 200};
    Curve curves[3];

    // Places the chart (rectangle in its parent's coordinates), sets the
    // pens by the colour scheme, empties the curves and chooses the slot.
    void Reset(int left, int top, int right, int bottom, int slot);
    // A sample of curve 1.
    void AddSample(double value);
    // One sample to each of the three curves.
    void AddTripleSample(double a, double b, double c);
    // Draws grid, labels and curves into the layers and invalidates.
    void Redraw();

    int ChooseXDivisions(double a, double b);
    int ChooseYDivisions(double a, double b);

private:
    // A memory DC with a bitmap of its own, remade when the size changes.
    class Layer {
    public:
        ~Layer() { Free(); }
        bool Ensure(HDC compatible, int width, int height);
        void Free();
        HDC dc = nullptr;
        int width = 0, height = 0;

    private:
        HBITMAP m_bitmap = nullptr;
        HGDIOBJ m_old = nullptr;
    };

    void DrawGrid(HDC dc);
    void DrawXLabels(HDC dc);
    void DrawYLabels(HDC dc);
    void PlotCurves(HDC reference);
    COLORREF Background() const;
    // The part of the window rectangle that the window shows.
    RECT ShownPart() const;
    void OnPaint();
    void OnSize(Message& m);
    void OnNothing() {}

    CFont m_labelFont, m_captionFont;
    CPen m_gridPen, m_framePen;
    Layer m_grid, m_curves, m_composite;
};

// The plot inside a chart's window rectangle: the margins taken off, then
// its left and top edges moved so that width and height are multiples of 10.
RECT ScopePlotRect(const RECT& window, int left = 30, int top = 5, int right = 10, int bottom = 20);
// What the labels around the plot need: the widest y label, and the label
// font's height and ascent.
struct ScopeLabelSizes {
    int yWidth;
    int height;
    int ascent;
};
// The plot moved in from the edges, by whole tens of pixels so that its
// grid keeps its even steps, until the labels lie whole inside shown (the
// part of the chart its window shows): the y labels 5 pixels left of it,
// the top one centred on its top edge, the x labels under it. Where the
// labels fit, the plot stays.
RECT ScopeFitLabels(const RECT& plot, const RECT& shown, const ScopeLabelSizes& labels);
// The texts of the y labels of a range, top first: yMax and every second
// of the ten steps down to yMin, in the slot's format (the acceleration
// slots show tenths of the stored values).
std::vector<CString> ScopeYLabels(double yMax, double yMin, int slot);
// How many parts each tenth of an axis is split into, from the label range.
int ScopeXDivisions(double a, double b);
int ScopeYDivisions(double a, double b);
// How many minor lines an axis divided n ways has (n that the grid cannot
// show fall back to 5 in x and 2 in y).
int ScopeMinorLinesX(int n);
int ScopeMinorLinesY(int n);
// The vertical range from the smallest and largest value held: the speed
// slot (0) shows at least 10 units; a range of no height is widened by one
// unit each way so that the chart keeps a scale.
void ScopeYRange(double& low, double& high, int slot);
// The printf format of the y labels of slot: "%.0f", "%.1f" ...
CString ScopeYFormat(int slot);
// A label in format; a zero shows without a minus sign.
CString ScopeLabel(const wchar_t* format, double value);
// Where a sample goes: inside plot (its right and bottom edges excluded);
// false when the scale has no width or height.
bool ScopePoint(double age, double value, double xLow, double yLow, double xPerPixel, double yPerPixel,
                const RECT& plot, POINT& p);
