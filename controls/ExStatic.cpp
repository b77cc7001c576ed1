#include "ExStatic.h"

#include "AppSettings.h"
#include "Dialog.h"
#include "GResource.h"
#include "Gdi.h"
#include "GdiplusInclude.h"
#include "LanguageHolder.h"

#include <new>

namespace {
const COLORREF kTransparentBack = 0x808000;
const int kHoverIcon = 377;
}

BEGIN_MESSAGE_TABLE(CExStatic, CWnd)
    OnMessage<&CExStatic::OnMouseMove>(WM_MOUSEMOVE),
    OnMessage<&CExStatic::OnMouseHover>(WM_MOUSEHOVER),
    OnMessage<&CExStatic::OnMouseLeave>(WM_MOUSELEAVE),
    OnMessage<&CExStatic::Paint>(WM_PAINT),
    OnMessage<&CExStatic::OnDestroy>(WM_DESTROY),
END_MESSAGE_TABLE()

CExStatic::CExStatic()
{
    SetImageCount(2);
}

CExStatic::~CExStatic()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    SetImageCount(0);  // a label that never had a window still owns its images
}

void CExStatic::SetImageCount(unsigned count)
{
    for (unsigned i = 0; images && i < imageCount; ++i)
        delete images[i];
    delete[] images;
    images = nullptr;
    if (count) {
        images = new (std::nothrow) GResource*[count]();
        if (!images)
            count = 0;
    }
    imageCount = count;
}

void CExStatic::TextModePreset(int id)
{
    mode = 1;
    textNormal = RGB(200, 200, 200);
    backNormal = RGB(0, 128, 255);
    textHover = RGB(255, 255, 0);
    backHover = RGB(0, 128, 255);
    textSelected = RGB(0, 0, 255);
    backSelected = RGB(113, 111, 100);
    stringId = id;
    textFormat = DT_CENTER | DT_VCENTER;
}

void CExStatic::ReloadJpgResource(int id, HMODULE module)
{
    if (imageCount == 0)
        return;
    delete images[0];
    images[0] = new (std::nothrow) GResource;
    if (images[0])
        images[0]->Load(id, module);
}

TextColours ChooseTextColours(const CExStatic& s)
{
    if (s.hover)
        return {s.textHover, s.backHover};
    if (s.selected)
        return {s.textSelected, s.backSelected};
    return {s.textNormal, s.backNormal};
}

void CExStatic::PreSubclassWindow()
{
    // Clicks reach the parent; the static's own type (text alignment,
    // image) stays as the template made it.
    ::SetWindowLongW(m_hWnd, GWL_STYLE, ::GetWindowLongW(m_hWnd, GWL_STYLE) | SS_NOTIFY);
    CString text;
    if (g_Settings.language && stringId)
        g_Settings.language->LoadString(text, stringId);
    SetWindowText(text.c_str());
}

void CExStatic::OnMouseMove(Message& m)
{
    if (mode != 2 && !hover) {
        TRACKMOUSEEVENT t = {sizeof t, TME_HOVER | TME_LEAVE, m_hWnd, 1};
        hover = ::TrackMouseEvent(&t);
    }
    m.handled = false;
}

void CExStatic::OnMouseHover()
{
    if (mode != 2) {
        hover = 1;
        Invalidate(true);
    }
}

void CExStatic::OnMouseLeave()
{
    if (mode != 2) {
        hover = 0;
        Invalidate(true);
    }
}

void CExStatic::OnDestroy(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    SetImageCount(0);
}

void CExStatic::Paint()
{
    CPaintDC dc(this);
    RECT rc = GetClientRect();
    if (mode != 0) {
        TextColours c = ChooseTextColours(*this);
        dc.SetTextColor(c.text);
        if (c.back != kTransparentBack)
            dc.FillSolidRect(rc, c.back);
        CString text = CString::WindowText(m_hWnd);
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(text.c_str(), &rc, textFormat);
        return;
    }
    GResource* holder = nullptr;
    if (hover) {
        if (imageCount < 2)
            return;
        holder = images[1];
        if (!holder) {
            if (HICON icon = ::LoadIconW(CDialog::ResourceModule(), MAKEINTRESOURCEW(kHoverIcon)))
                ::DrawIcon(dc, 0, 0, icon);
            return;
        }
    } else if (selected) {
        if (imageCount < 3)
            return;
        holder = images[2];
    } else if (imageCount > 0) {
        holder = images[0];
    }
    if (!holder || !holder->bitmap)
        return;
    Gdiplus::Graphics g(dc.m_hDC);
    g.DrawImage(holder->bitmap, 0, 0, static_cast<INT>(holder->bitmap->GetWidth()),
                static_cast<INT>(holder->bitmap->GetHeight()));
}
