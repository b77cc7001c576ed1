#include "TextExtent.h"

#include "WString.h"

int TextWidth(HWND control, const std::wstring& text)
{
    if (!control || text.empty())
        return 0;
    HDC dc = ::GetDC(control);
    if (!dc)
        return 0;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return size.cx;
}

int OwnTextWidth(HWND control)
{
    return control ? TextWidth(control, CString::WindowText(control)) : 0;
}
