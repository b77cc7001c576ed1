// Device contexts and GDI objects. Each wrapper frees what it created:
// CPaintDC ends the paint, CWindowDC / CClientDC release their DC,
// CMemoryDC deletes its compatible DC, and CGdiObject deletes the object
// it holds (Attach takes ownership, Detach gives it up). CSelect puts the
// previous object back into the DC when it goes out of scope.
#pragma once

#include <windows.h>

class CWnd;

class CDC {
public:
    CDC() = default;
    explicit CDC(HDC dc) : m_hDC(dc) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }

    void FillSolidRect(const RECT& r, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A raised or sunken edge around x, y, cx, cy, the way the system draws
    // one: the top edge is cx - 1 wide and the left edge cy - 1 high in
    // topLeft; the right and bottom edges, full length, in bottomRight.
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(const RECT& r, COLORREF topLeft, COLORREF bottomRight)
    {
        Draw3dRect(r.left, r.top, r.right - r.left, r.bottom - r.top, topLeft, bottomRight);
    }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int DrawText(const wchar_t* text, RECT* r, UINT format)
    {
        return ::DrawTextW(m_hDC, text, -1, r, format);
    }
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT ps = {};

private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

class CMemoryDC : public CDC {
public:
    explicit CMemoryDC(HDC compatibleWith) : CDC(::CreateCompatibleDC(compatibleWith)) {}
    ~CMemoryDC() override
    {
        if (m_hDC)
            ::DeleteDC(m_hDC);
    }
};

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }

    HGDIOBJ m_hObject = nullptr;
    bool Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    bool DeleteObject();
};

class CBrush : public CGdiObject {
public:
    bool CreateSolidBrush(COLORREF c) { return Attach(::CreateSolidBrush(c)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CPen : public CGdiObject {
public:
    bool CreatePen(int style, int width, COLORREF c) { return Attach(::CreatePen(style, width, c)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    bool CreateFont(int height, int weight, BYTE charSet, BYTE pitchAndFamily, const wchar_t* face);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    // A bitmap resource of module.
    bool LoadBitmap(HINSTANCE module, int id);
    SIZE GetSize() const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CSelect {
public:
    CSelect(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~CSelect()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
    }
    CSelect(const CSelect&) = delete;
    CSelect& operator=(const CSelect&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
