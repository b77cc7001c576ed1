// The wait cursor for the life of the object.
#pragma once

#include <windows.h>

class WaitCursor {
public:
    WaitCursor() : m_old(::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)))) {}
    ~WaitCursor() { ::SetCursor(m_old); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_old;
};
