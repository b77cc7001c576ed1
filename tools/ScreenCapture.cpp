#include "ScreenCapture.h"

#include <cstdio>
#include <cstdlib>

namespace wintest {

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

COLORREF ClientPixel(HWND window, int x, int y)
{
    POINT p = {x, y};
    ::ClientToScreen(window, &p);
    return ScreenPixel(p.x, p.y);
}

ScreenCapture::ScreenCapture(int x, int y, int width, int height) : m_width(width), m_height(height)
{
    if (width <= 0 || height <= 0) {
        m_width = m_height = 0;
        return;
    }
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = ::SelectObject(mem, dib);
        ::BitBlt(mem, 0, 0, width, height, screen, x, y, SRCCOPY);
        ::GdiFlush();
        const auto* p = static_cast<const unsigned char*>(bits);
        m_pixels.resize(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < m_pixels.size(); ++i)
            m_pixels[i] = RGB(p[4 * i + 2], p[4 * i + 1], p[4 * i]);
        ::SelectObject(mem, old);
    } else {
        m_width = m_height = 0;
    }
    if (dib)
        ::DeleteObject(dib);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
}

namespace {
RECT ClientOnScreen(HWND window)
{
    RECT r = {};
    ::GetClientRect(window, &r);
    POINT p = {0, 0};
    ::ClientToScreen(window, &p);
    ::OffsetRect(&r, p.x, p.y);
    return r;
}
}  // namespace

ScreenCapture::ScreenCapture(HWND window) : ScreenCapture(ClientOnScreen(window))
{
}

ScreenCapture::ScreenCapture(const RECT& screen)
    : ScreenCapture(screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top)
{
}

COLORREF ScreenCapture::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    return m_pixels[static_cast<size_t>(y) * m_width + x];
}

int ScreenCapture::Count(int x0, int y0, int x1, int y1, const std::function<bool(COLORREF)>& match) const
{
    int n = 0;
    for (int y = y0 < 0 ? 0 : y0; y < y1 && y < m_height; ++y)
        for (int x = x0 < 0 ? 0 : x0; x < x1 && x < m_width; ++x)
            n += match(m_pixels[static_cast<size_t>(y) * m_width + x]) ? 1 : 0;
    return n;
}

int ScreenCapture::CountColour(int x0, int y0, int x1, int y1, COLORREF colour) const
{
    return Count(x0, y0, x1, y1, [colour](COLORREF c) { return c == colour; });
}

bool ScreenCapture::SaveBmp(const std::string& path) const
{
    if (m_width <= 0 || m_height <= 0)
        return false;
    const int stride = (m_width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = m_width;
    ih.biHeight = m_height;  // bottom row first
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = static_cast<DWORD>(stride) * m_height;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1;
    std::vector<unsigned char> row(static_cast<size_t>(stride), 0);
    for (int y = m_height - 1; ok && y >= 0; --y) {
        for (int x = 0; x < m_width; ++x) {
            COLORREF c = m_pixels[static_cast<size_t>(y) * m_width + x];
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
        ok = std::fwrite(row.data(), row.size(), 1, f) == 1;
    }
    return std::fclose(f) == 0 && ok;
}

bool ScreenCapture::Centroid(COLORREF colour, double* x, double* y) const
{
    double sx = 0, sy = 0;
    long n = 0;
    for (int j = 0; j < m_height; ++j)
        for (int i = 0; i < m_width; ++i)
            if (m_pixels[static_cast<size_t>(j) * m_width + i] == colour) {
                sx += i;
                sy += j;
                ++n;
            }
    if (!n)
        return false;
    *x = sx / n;
    *y = sy / n;
    return true;
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace wintest
