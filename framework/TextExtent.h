// How wide a text is in the font a control draws with: what the panels'
// layouts make room for.
#pragma once

#include <windows.h>

#include <string>

// The width of text in the control's font, in pixels (0 without a window).
int TextWidth(HWND control, const std::wstring& text);

// The width of the control's own text in its font.
int OwnTextWidth(HWND control);
