#include "TestDesktop.h"

#include <string.h>

namespace e2e {

HWND Pane(int k) {
    static HWND panes[4] = {};
    if (k < 0 || k > 3) return nullptr;
    if (!panes[k]) {
        int x = 40 + (k % 2) * (kPaneWidth + 16), y = 40 + (k / 2) * (kPaneHeight + 16);
        panes[k] = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, x, y, kPaneWidth,
                                   kPaneHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        Pump(50);
    }
    return panes[k];
}

bool WaitPumping(HANDLE event, DWORD ms) {
    DWORD until = GetTickCount() + ms;
    for (;;) {
        DWORD now = GetTickCount();
        if (int32_t(until - now) <= 0) return event && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
        DWORD r = event ? MsgWaitForMultipleObjects(1, &event, FALSE, until - now, QS_ALLINPUT)
                        : MsgWaitForMultipleObjects(0, nullptr, FALSE, until - now, QS_ALLINPUT);
        if (event && r == WAIT_OBJECT_0) return true;
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

void Pump(DWORD ms) { WaitPumping(nullptr, ms); }

int ScreenShot::WhiteIn(int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            uint32_t p = At(x, y);
            if ((p >> 16 & 0xFF) > 200 && (p >> 8 & 0xFF) > 200 && (p & 0xFF) > 200) ++n;
        }
    return n;
}

ScreenShot Grab(HWND window) {
    ScreenShot s;
    RECT r;
    GetWindowRect(window, &r);
    s.width = r.right - r.left;
    s.height = r.bottom - r.top;
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
    BitBlt(mem, 0, 0, s.width, s.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    memcpy(s.pixels.data(), bits, s.pixels.size() * 4);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return s;
}

}  // namespace e2e
