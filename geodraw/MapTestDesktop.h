// What the map's window tests and its benchmark need of the desktop: a
// host window like the player's map pane, a message pump, the screen read
// back, and real mouse input.
#pragma once

#include <windows.h>
#include <stdint.h>

#include <vector>

namespace maptest {

// A top-most frame at (x, y) with a static child of `width` x `height`
// filling it: the child is the host a map is made in.
struct Host {
    HWND frame = nullptr;
    HWND canvas = nullptr;
    Host(int x, int y, int width, int height);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    // The map window inside the canvas (the first one).
    HWND Map() const;
};

void Pump(DWORD ms);
template <class F> bool PumpUntil(F done, DWORD ms) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms) return done();
        Pump(10);
    }
    return true;
}
// Paints whatever is invalid in the thread's windows now.
void PaintNow(HWND window);

// What the screen shows over a window's client area.
struct Shot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
        return pixels[size_t(y) * size_t(width) + size_t(x)];
    }
    int Count(COLORREF c) const;
    // Mean position of the pixels of colour c; false when there are none.
    bool Centroid(COLORREF c, double* x, double* y) const;
};
Shot Grab(HWND window);
// Writes the shot as `name`.bmp into the folder that the environment
// variable GEODRAW_SHOTS names (nothing when it is not set), to look at.
void SaveShot(const Shot& shot, const char* name);

// Mouse input through SendInput, at client positions of `window`.
void MouseMove(HWND window, POINT client);
void MouseWheel(int delta);
void LeftDown();
void LeftUp();

}  // namespace maptest
