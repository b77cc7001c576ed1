// What every window test needs: pumping messages the program's way (the
// one path of MessageLoop.h), waiting for a condition while pumping, the
// real mouse, and the screen read back (ScreenCapture.h).
#pragma once

#include "ScreenCapture.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

// Processes messages for ms milliseconds.
void Pump(DWORD ms);
// Processes messages until done() is true or timeoutMs passed; the last
// answer of done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// The real mouse, through the system's input queue as the user moves it;
// each call then pumps messages for settleMs.
void MouseTo(POINT screen, DWORD settleMs = 30);
void MouseToClient(HWND window, POINT client, DWORD settleMs = 30);
void MouseButton(bool down, DWORD settleMs = 0);
void MouseWheel(int delta, DWORD settleMs = 20);

// The cells of row `row` of a list view as the list shows them, in its
// client coordinates: past the row's first 40 pixels (the check box), 4
// short of its right end or of the list's right edge, whichever comes
// first (its columns may reach past the list, which then scrolls), a pixel
// inside top and bottom. Empty when the list has no such row.
RECT ShownRowCells(HWND list, int row);

// Closes this thread's message boxes as they show (a thread timer looks
// every 100 ms while it lives) and keeps their texts.
class MessageBoxCloser {
public:
    MessageBoxCloser();
    ~MessageBoxCloser();
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;
    // The texts of the boxes closed so far, in order.
    const std::vector<std::wstring>& Texts() const;

private:
    UINT_PTR m_timer = 0;
};

// Counts the GDI objects this process holds (for leak checks).
DWORD GdiObjectCount();

}  // namespace wintest
