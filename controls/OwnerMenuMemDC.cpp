#include "OwnerMenuMemDC.h"

COwnerMenuMemDC::COwnerMenuMemDC(CDC* targetDC, const RECT* area) : target(targetDC), rect(*area)
{
    isMemory = ::GetDeviceCaps(*target, TECHNOLOGY) != DT_RASPRINTER;
    if (isMemory) {
        m_hDC = ::CreateCompatibleDC(*target);
        if (m_hDC && bitmap.Attach(::CreateCompatibleBitmap(*target, rect.right - rect.left, rect.bottom - rect.top))) {
            oldBitmap = ::SelectObject(m_hDC, bitmap);
            ::SetWindowOrgEx(m_hDC, rect.left, rect.top, nullptr);
        } else {
            if (m_hDC)
                ::DeleteDC(m_hDC);
            isMemory = false;
        }
    }
    if (!isMemory)
        m_hDC = target->m_hDC;  // shared: drawn straight onto the target
}

COwnerMenuMemDC::~COwnerMenuMemDC()
{
    if (isMemory) {
        ::BitBlt(*target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hDC, rect.left,
                 rect.top, SRCCOPY);
        ::SelectObject(m_hDC, oldBitmap);
        ::DeleteDC(m_hDC);
    }
    m_hDC = nullptr;
}
