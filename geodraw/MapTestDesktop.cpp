#include "MapTestDesktop.h"

#include <stdio.h>

#include <string>

namespace maptest {

Host::Host(int x, int y, int width, int height) {
    frame = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    canvas = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, frame, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(frame);
    Pump(30);
}

Host::~Host() {
    if (IsWindow(frame)) DestroyWindow(frame);
    Pump(10);
}

HWND Host::Map() const {
    return FindWindowExW(canvas, nullptr, L"GeoDrawMap", nullptr);
}

void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        DWORD spent = GetTickCount() - start;
        if (spent >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
    }
}

void PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(0);
}

int Shot::Count(COLORREF c) const {
    int n = 0;
    for (COLORREF p : pixels) n += p == c;
    return n;
}

bool Shot::Centroid(COLORREF c, double* x, double* y) const {
    double sx = 0, sy = 0;
    long n = 0;
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            if (At(i, j) == c) {
                sx += i;
                sy += j;
                ++n;
            }
    if (!n) return false;
    *x = sx / double(n);
    *y = sy / double(n);
    return true;
}

Shot Grab(HWND window) {
    PaintNow(window);
    Shot s;
    RECT r;
    GetClientRect(window, &r);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    s.width = r.right;
    s.height = r.bottom;
    s.pixels.resize(size_t(s.width) * size_t(s.height));
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = s.width;
    bi.bmiHeader.biHeight = -s.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, s.width, s.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < s.pixels.size(); ++i)
        s.pixels[i] = RGB(p[i] >> 16 & 0xFF, p[i] >> 8 & 0xFF, p[i] & 0xFF);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return s;
}

void SaveShot(const Shot& shot, const char* name) {
    char folder[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("GEODRAW_SHOTS", folder, MAX_PATH);
    if (!n || n >= MAX_PATH) return;
    std::string path = std::string(folder) + "\\" + name + ".bmp";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    DWORD row = DWORD(shot.width) * 3, pad = (4 - row % 4) % 4, image = (row + pad) * DWORD(shot.height);
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + image;
    ih.biSize = sizeof ih;
    ih.biWidth = shot.width;
    ih.biHeight = shot.height;   // bottom-up
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = image;
    fwrite(&fh, sizeof fh, 1, f);
    fwrite(&ih, sizeof ih, 1, f);
    std::vector<unsigned char> line(row + pad);
    for (int y = shot.height - 1; y >= 0; --y) {
        for (int x = 0; x < shot.width; ++x) {
            COLORREF c = shot.At(x, y);
            line[size_t(x) * 3] = GetBValue(c);
            line[size_t(x) * 3 + 1] = GetGValue(c);
            line[size_t(x) * 3 + 2] = GetRValue(c);
        }
        fwrite(line.data(), 1, line.size(), f);
    }
    fclose(f);
}

namespace {

void Send(INPUT in) {
    SendInput(1, &in, sizeof in);
    Pump(20);
}

}  // namespace

void MouseMove(HWND window, POINT client) {
    POINT p = client;
    ClientToScreen(window, &p);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    // Absolute positions are in 65536ths of the primary screen.
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = LONG((p.x * 65536LL + w / 2) / w);
    in.mi.dy = LONG((p.y * 65536LL + h / 2) / h);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(in);
}

void MouseWheel(int delta) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.mouseData = DWORD(delta);
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    Send(in);
}

void LeftDown() {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    Send(in);
}

void LeftUp() {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Send(in);
}

}  // namespace maptest
