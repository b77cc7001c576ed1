#include "TestDesktop.h"

#include "ScreenCapture.h"


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
    RECT r;
    GetWindowRect(window, &r);
    const wintest::ScreenCapture capture(r.left, r.top, r.right - r.left, r.bottom - r.top);
    ScreenShot s;
    s.width = capture.Width();
    s.height = capture.Height();
    s.pixels.resize(size_t(s.width) * size_t(s.height));
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const COLORREF c = capture.Pixel(x, y);
            s.pixels[size_t(y) * size_t(s.width) + size_t(x)] =
                uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
        }
    return s;
}

}  // namespace e2e
