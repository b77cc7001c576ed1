// The owner-drawn menu's small pieces: the mnemonic search behind
// WM_MENUCHAR, the check box with its tick or bullet, and the embossed
// images of disabled items.
#include "OwnerMenu.h"

#include "OwnerMenuRules.h"

#include <algorithm>

namespace {

// Ternary raster operations: where the source is white the brush is
// written, elsewhere the destination stays (0xE20746), and the other way
// round (0xB8074A).
const DWORD kBrushWhereSourceWhite = 0xE20746;
const DWORD kBrushWhereSourceBlack = 0xB8074A;

}  // namespace

bool COwnerMenu::IsThemedXp()
{
    return WindowsVersion == 7 && !IsClassicTheme();
}

// ---- mnemonics ----------------------------------------------------------------

LRESULT COwnerMenu::FindMnemonicItem(UINT character, UINT flags, HMENU handle)
{
    COwnerMenu* menu = FromHandle(handle);
    if (!menu || !(flags & MF_POPUP))
        return 0;
    const int count = ::GetMenuItemCount(handle);
    if (count != static_cast<int>(menu->items.size()))
        menu->ResyncRecords();
    for (int i = 0; i < count && static_cast<size_t>(i) < menu->items.size(); ++i)
        if (owner_menu::TextHasMnemonic(menu->items[i]->GetText(), static_cast<wchar_t>(character)))
            return MAKELRESULT(i, MNC_EXECUTE);
    return 0;
}

bool COwnerMenu::MenuChar(UINT ch, UINT flags, HMENU menu, LRESULT* result)
{
    if (std::find(SubMenuHandles.begin(), SubMenuHandles.end(), menu) == SubMenuHandles.end())
        return false;
    LRESULT found = FindMnemonicItem(ch, flags, menu);
    if (!found)
        return false;
    *result = found;
    return true;
}

// ---- check marks ----------------------------------------------------------------

void PaintTickMark(CDC* dc, int x, int y, COLORREF colour)
{
    // Seven strokes of three pixels (the end point is not drawn).
    static const POINT kTops[7] = {{0, 2}, {1, 3}, {2, 4}, {3, 3}, {4, 2}, {5, 1}, {6, 0}};
    HPEN pen = ::CreatePen(PS_SOLID, 0, colour);
    HGDIOBJ old = ::SelectObject(*dc, pen);
    for (const POINT& t : kTops) {
        ::MoveToEx(*dc, x + t.x, y + t.y, nullptr);
        ::LineTo(*dc, x + t.x, y + t.y + 3);
    }
    ::SelectObject(*dc, old);
    ::DeleteObject(pen);
}

void PaintBulletMark(CDC* dc, int x, int y, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    HPEN pen = ::CreatePen(PS_SOLID, 0, colour);
    HGDIOBJ oldBrush = ::SelectObject(*dc, brush);
    HGDIOBJ oldPen = ::SelectObject(*dc, pen);
    ::Ellipse(*dc, x, y, x + 6, y + 6);
    ::SelectObject(*dc, oldPen);
    ::SelectObject(*dc, oldBrush);
    ::DeleteObject(pen);
    ::DeleteObject(brush);
}

BOOL COwnerMenu::DrawCheckBoxClassic(CDC* dc, RECT box, BOOL selected, BOOL bullet)
{
    COLORREF colour = ::GetSysColor(IsThemedXp() ? COLOR_BTNFACE : COLOR_MENU);
    if (!selected)
        colour = BlendTowardWhite(colour, 0.6);
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(*dc, &box, brush);
    ::DeleteObject(brush);
    if (WindowsVersion > 1)
        ::DrawEdge(*dc, &box, BDR_SUNKENOUTER, BF_RECT);
    const COLORREF mark = ::GetSysColor(COLOR_MENUTEXT);
    if (bullet)
        PaintBulletMark(dc, box.left + 5, box.top + 4, mark);
    else
        PaintTickMark(dc, box.left + 4, box.top + 4, mark);
    return TRUE;
}

BOOL COwnerMenu::DrawCheckBoxFlat(CDC* dc, RECT box, COLORREF highlight, BOOL bullet)
{
    HBRUSH brush = ::CreateSolidBrush(BlendTowardWhite(highlight, 0.85));
    ::FillRect(*dc, &box, brush);
    ::DeleteObject(brush);
    dc->Draw3dRect(box, highlight, highlight);
    const COLORREF mark = ::GetSysColor(COLOR_MENUTEXT);
    if (bullet)
        PaintBulletMark(dc, box.left + 5, box.top + 4, mark);
    else
        PaintTickMark(dc, box.left + 5, box.top + 4, mark);
    return TRUE;
}

// ---- disabled images --------------------------------------------------------------

void COwnerMenu::DrawDisabledBitmap(CDC* target, int x, int y, int width, int height, CBitmap* image,
                                    COLORREF background)
{
    if (!target || !image || !image->m_hObject || width <= 0 || height <= 0)
        return;
    HDC maskDC = ::CreateCompatibleDC(nullptr);
    HDC imageDC = ::CreateCompatibleDC(nullptr);
    HBITMAP mask = maskDC ? ::CreateCompatibleBitmap(maskDC, width, height) : nullptr;  // monochrome
    if (!maskDC || !imageDC || !mask) {
        if (mask)
            ::DeleteObject(mask);
        if (maskDC)
            ::DeleteDC(maskDC);
        if (imageDC)
            ::DeleteDC(imageDC);
        return;
    }
    HGDIOBJ oldMask = ::SelectObject(maskDC, mask);
    HGDIOBJ oldImage = ::SelectObject(imageDC, *image);
    CDC img(imageDC);

    // The shape: every pixel that is neither button face nor highlight.
    ::PatBlt(maskDC, 0, 0, width, height, WHITENESS);
    ::SetBkColor(imageDC, ::GetSysColor(COLOR_BTNFACE));
    ::BitBlt(maskDC, 0, 0, width, height, imageDC, 0, 0, SRCCOPY);
    ::SetBkColor(imageDC, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::BitBlt(maskDC, 0, 0, width, height, imageDC, 0, 0, SRCPAINT);

    // The mask onto colour: 0 (the shape) white, 1 black.
    img.FillSolidRect(0, 0, width, height, background);
    ::SetBkColor(imageDC, RGB(0, 0, 0));
    ::SetTextColor(imageDC, RGB(255, 255, 255));
    HBRUSH light = ::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT));
    HBRUSH shadow = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldBrush = ::SelectObject(imageDC, light);
    ::BitBlt(imageDC, 0, 0, width, height, maskDC, 0, 0, kBrushWhereSourceWhite);
    ::BitBlt(*target, x + 1, y + 1, width, height, imageDC, 0, 0, SRCCOPY);
    ::BitBlt(imageDC, 1, 1, width, height, maskDC, 0, 0, kBrushWhereSourceWhite);
    ::SelectObject(imageDC, shadow);
    ::BitBlt(imageDC, 0, 0, width, height, maskDC, 0, 0, kBrushWhereSourceWhite);
    ::BitBlt(*target, x, y, width, height, imageDC, 0, 0, SRCCOPY);

    ::SelectObject(imageDC, oldBrush);
    ::SelectObject(imageDC, oldImage);
    ::SelectObject(maskDC, oldMask);
    ::DeleteDC(imageDC);
    ::DeleteDC(maskDC);
    ::DeleteObject(light);
    ::DeleteObject(shadow);
    ::DeleteObject(mask);
}

void COwnerMenu::DrawDisabledBitmapDib(HDC target, int x, int y, int width, int height, HBITMAP image,
                                       COLORREF background)
{
    if (!target || !image || width <= 0 || height <= 0)
        return;
    HDC a = ::CreateCompatibleDC(target);
    if (!a)
        return;
    HDC b = ::CreateCompatibleDC(a);
    if (!b) {
        ::DeleteDC(a);
        return;
    }
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colours[1] = {255, 255, 255, 0};
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(b, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) {
        ::DeleteDC(b);
        ::DeleteDC(a);
        return;
    }
    HGDIOBJ oldDib = ::SelectObject(b, dib);
    HGDIOBJ oldImage = ::SelectObject(a, image);
    ::BitBlt(b, 0, 0, width, height, a, 0, 0, SRCCOPY);

    CDC out(target);
    out.FillSolidRect(x, y, width, height, background);
    HBRUSH light = ::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ oldBrush = ::SelectObject(target, light);
    ::BitBlt(target, x + 1, y + 1, width, height, b, 0, 0, kBrushWhereSourceBlack);
    HBRUSH shadow = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    ::SelectObject(target, shadow);
    ::DeleteObject(light);
    ::BitBlt(target, x, y, width, height, b, 0, 0, kBrushWhereSourceBlack);
    ::SelectObject(target, oldBrush);
    ::DeleteObject(shadow);

    ::SelectObject(a, oldImage);
    ::SelectObject(b, oldDib);
    ::DeleteObject(dib);
    ::DeleteDC(b);
    ::DeleteDC(a);
}
