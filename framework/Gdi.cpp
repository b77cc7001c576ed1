#include "Gdi.h"

#include "Wnd.h"

#include <utility>

void CDC::FillSolidRect(const RECT& r, COLORREF color)
{
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    RECT r = {x, y, x + cx, y + cy};
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    FillSolidRect(r, color);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &ps);
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd)
{
    m_hDC = ::GetWindowDC(m_hWnd);
}

CWindowDC::~CWindowDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, m_hDC);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd)
{
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, m_hDC);
}

bool CGdiObject::Attach(HGDIOBJ h)
{
    if (!h)
        return false;
    DeleteObject();
    m_hObject = h;
    return true;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

bool CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return false;
    bool ok = ::DeleteObject(m_hObject) != 0;
    m_hObject = nullptr;
    return ok;
}

bool CFont::CreateFont(int height, int weight, BYTE charSet, BYTE pitchAndFamily, const wchar_t* face)
{
    return Attach(::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitchAndFamily, face));
}

bool CBitmap::LoadBitmap(HINSTANCE module, int id)
{
    return Attach(::LoadBitmapW(module, MAKEINTRESOURCEW(id)));
}

SIZE CBitmap::GetSize() const
{
    BITMAP bm = {};
    SIZE s = {0, 0};
    if (m_hObject && ::GetObjectW(m_hObject, sizeof bm, &bm)) {
        s.cx = bm.bmWidth;
        s.cy = bm.bmHeight;
    }
    return s;
}
