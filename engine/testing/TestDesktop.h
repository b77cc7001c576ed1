// The windows of the engine's window tests and what they need from the test
// desktop: four channel panes made once per program (destroying windows
// that showed pictures is slow under the test display), a message pump
// for the waits, and the screen read back (through the window tests' one
// screen capture). The pump stays the engine's own: the program's message
// loop that the framework's tests pump through lies above the engine.
#pragma once

#include <windows.h>

#include <stdint.h>
#include <vector>

namespace e2e {

const int kPaneWidth = 176;
const int kPaneHeight = 144;

// Pane k (0-3) of a 2 x 2 grid, top-most popups the size of a picture, so
// that a picture is shown pixel for pixel. Made on first use.
HWND Pane(int k);

// Runs the thread's messages until `event` is signalled or `ms` passed;
// true when it was signalled.
bool WaitPumping(HANDLE event, DWORD ms);
void Pump(DWORD ms);
// Pumps until `done()` holds or `ms` passed; gives `done()`.
template <class F> bool PumpUntil(F done, DWORD ms) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms) return done();
        Pump(10);
    }
    return true;
}

// What the screen shows over a window, rows top first.
struct ScreenShot {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;   // 0x00RRGGBB
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    // Pixels in [x0, x1) x [y0, y1) whose three components all exceed 200.
    int WhiteIn(int x0, int y0, int x1, int y1) const;
};
ScreenShot Grab(HWND window);

}  // namespace e2e
