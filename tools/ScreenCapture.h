// The screen read back, for the window tests of every layer: pixels as
// the user sees them, a copy of a rectangle to count and locate colours
// in, and a BMP file of it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

// A pixel of the screen, as the user sees it (CLR_INVALID outside it).
COLORREF ScreenPixel(int x, int y);
// A pixel at client coordinates of window, read from the screen.
COLORREF ClientPixel(HWND window, int x, int y);

// A copy of a rectangle of the screen, to read many pixels from.
class ScreenCapture {
public:
    ScreenCapture(int x, int y, int width, int height);
    // The client area of window.
    explicit ScreenCapture(HWND window);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Relative to the captured rectangle; CLR_INVALID outside it.
    COLORREF Pixel(int x, int y) const;
    // Pixels within the rectangle (x0, y0)-(x1, y1) that match.
    int Count(int x0, int y0, int x1, int y1, const std::function<bool(COLORREF)>& match) const;
    int CountColour(int x0, int y0, int x1, int y1, COLORREF colour) const;
    // Pixels of colour in the whole capture.
    int Count(COLORREF colour) const { return CountColour(0, 0, m_width, m_height, colour); }
    bool operator==(const ScreenCapture& other) const
    {
        return m_width == other.m_width && m_height == other.m_height && m_pixels == other.m_pixels;
    }
    // Mean position of the pixels of colour; false when there are none.
    bool Centroid(COLORREF colour, double* x, double* y) const;
    // A 24-bit BMP file of the capture.
    bool SaveBmp(const std::string& path) const;

private:
    explicit ScreenCapture(const RECT& screen);
    int m_width = 0, m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// Colours within tolerance per channel.
bool Near(COLORREF a, COLORREF b, int tolerance);

}  // namespace wintest
