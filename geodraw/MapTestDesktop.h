// What the map's window tests and its benchmark need of the desktop: a
// host window like the player's map pane, a message pump, the screen read
// back (through the window tests' helper), and real mouse input.
#pragma once

#include "WindowTest.h"

#include <windows.h>

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

using wintest::Pump;
using wintest::PumpUntil;
// Paints whatever is invalid in the thread's windows now.
void PaintNow(HWND window);

// What the screen shows over a window's client area, painted first.
using Shot = wintest::ScreenCapture;
Shot Grab(HWND window);
// Writes the shot as `name`.bmp into the folder that the environment
// variable GEODRAW_SHOTS names (nothing when it is not set), to look at.
void SaveShot(const Shot& shot, const char* name);

// Mouse input through SendInput, at client positions of `window`.
inline void MouseMove(HWND window, POINT client) { wintest::MouseToClient(window, client, 20); }
inline void MouseWheel(int delta) { wintest::MouseWheel(delta, 20); }
inline void LeftDown() { wintest::MouseButton(true, 20); }
inline void LeftUp() { wintest::MouseButton(false, 20); }

}  // namespace maptest
