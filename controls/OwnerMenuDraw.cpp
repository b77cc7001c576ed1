// The owner-drawn menu's painting and measuring: the classic style with 3-D
// frames and the flat style of themed Windows XP with its shaded image
// column and blended selection.
#include "OwnerMenu.h"

#include "OwnerMenuMemDC.h"
#include "OwnerMenuRules.h"

#include <algorithm>

namespace {

const UINT kLabelFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER;
const UINT kAcceleratorFormat = DT_RIGHT | DT_SINGLELINE | DT_VCENTER;

void Fill(CDC* dc, const RECT& r, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(*dc, &r, brush);
    ::DeleteObject(brush);
}

// The caption in rect: the label on the left and, after a tab, the
// accelerator on the right.
void DrawCaption(CDC* dc, const owner_menu::AcceleratorSplit& text, RECT rect)
{
    ::DrawTextW(*dc, text.label.c_str(), -1, &rect, kLabelFormat);
    if (text.hasTab)
        ::DrawTextW(*dc, text.accelerator.c_str(), -1, &rect, kAcceleratorFormat);
}

}  // namespace

COwnerMenuData* COwnerMenu::OwnRecord(ULONG_PTR itemData) const
{
    for (COwnerMenuData* r : items)
        if (reinterpret_cast<ULONG_PTR>(r) == itemData)
            return r;
    return nullptr;
}

bool COwnerMenu::DrawMenuItem(DRAWITEMSTRUCT* item)
{
    if (!item || !OwnRecord(item->itemData))
        return false;
    DrawItem(item);
    return true;
}

bool COwnerMenu::MeasureMenuItem(MEASUREITEMSTRUCT* item)
{
    if (!item || !OwnRecord(item->itemData))
        return false;
    MeasureItem(item);
    return true;
}

bool COwnerMenu::IsTripleImage(int offset)
{
    if (offset < 0 || static_cast<size_t>(offset) + 2 >= SharedImageIds.size())
        return false;
    return SharedImageIds[offset] == SharedImageIds[offset + 1] && SharedImageIds[offset] == SharedImageIds[offset + 2];
}

bool COwnerMenu::IsRadioItem(HMENU menu, UINT id)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    return ::GetMenuItemInfoW(menu, id, FALSE, &info) && info.hbmpChecked;
}

COwnerMenu::ItemLook COwnerMenu::ReadLook(const COwnerMenuData* record, UINT state, bool flat) const
{
    ItemLook look = {};
    look.list = record->images;
    look.imageId = record->imageId;
    look.imageOffset = record->imageOffset;
    look.unselectedImage = 1;
    look.shadowImage = 2;
    const int shared = record->sharedImageOffset;
    if (look.imageId < 0 && shared >= 0 && (!flat || look.imageOffset < 0)) {
        look.list = &SharedImages;
        look.imageOffset = shared;
        look.imageId = 0;
        if (flat && IsTripleImage(shared)) {
            look.faded = true;
            look.unselectedImage = shared + 1;
            look.shadowImage = shared + 2;
        }
    }
    if (flat && look.imageOffset == 0 && record->images && record->images->Count() > 2)
        look.faded = true;
    const bool selected = (state & ODS_SELECTED) != 0, grayed = (state & ODS_GRAYED) != 0;
    if ((state & ODS_CHECKED) && look.imageId < 0) {
        look.checkImage = (selected && selectedCheckImage > 0) || unselectedCheckImage > 0;
    } else if (look.imageId != -1) {
        look.hasImage = true;
        look.selectedImage = selected && !grayed;
        look.disabledImage = grayed;
    }
    return look;
}

BOOL COwnerMenu::RenderImageToBitmap(CDC* dc, const CImageList* list, int index, CBitmap* out) const
{
    if (!list || index < 0 || index >= list->Count() || !out)
        return FALSE;
    HICON icon = list->ExtractIcon(index);
    if (!icon)
        return FALSE;
    HDC mem = ::CreateCompatibleDC(*dc);
    if (!mem || !out->Attach(::CreateCompatibleBitmap(*dc, iconWidth, iconHeight))) {
        if (mem)
            ::DeleteDC(mem);
        ::DestroyIcon(icon);
        return FALSE;
    }
    HGDIOBJ old = ::SelectObject(mem, *out);
    HBRUSH face = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    // Drawn over the brush: transparent pixels become the button face.
    ::DrawIconEx(mem, 0, 0, icon, iconWidth, iconHeight, 0, face, DI_NORMAL);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::DestroyIcon(icon);
    ::DeleteObject(face);
    return TRUE;
}

void COwnerMenu::DrawDisabledImage(CDC* dc, const ItemLook& look, int x, int y, COLORREF background) const
{
    // An item whose list or image is missing shows no image.
    CBitmap image;
    if (!RenderImageToBitmap(dc, look.list, look.imageOffset, &image))
        return;
    if (disabledStyleDib)
        DrawDisabledBitmapDib(*dc, x, y, iconWidth, iconHeight, image, background);
    else
        DrawDisabledBitmap(dc, x, y, iconWidth, iconHeight, &image, background);
}

// ---- measuring ------------------------------------------------------------------

void COwnerMenu::MeasureItem(MEASUREITEMSTRUCT* item)
{
    const COwnerMenuData* record = reinterpret_cast<const COwnerMenuData*>(item->itemData);
    const bool themed = IsThemedXp();
    const int line = ::GetSystemMetrics(SM_CYMENU);
    SIZE size;
    if (record->flags & MF_SEPARATOR) {
        size = owner_menu::MenuItemSize(true, 0, line, iconWidth, iconHeight, themed);
    } else {
        // Measured in the font the menu is drawn with, whatever the system.
        HFONT font = CreateMenuFont();
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
        CString text = record->GetText();
        SIZE extent = {0, 0};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        if (old)
            ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        if (font)
            ::DeleteObject(font);
        size = owner_menu::MenuItemSize(false, extent.cx, line, iconWidth, iconHeight, themed);
    }
    item->itemWidth = static_cast<UINT>(size.cx);
    item->itemHeight = static_cast<UINT>(size.cy);
}

// ---- painting -------------------------------------------------------------------

void COwnerMenu::DrawItem(DRAWITEMSTRUCT* item)
{
    if (!item || !item->itemData)
        return;
    if ((::GetDeviceCaps(item->hDC, RASTERCAPS) & RC_PALETTE) || !IsThemedXp())
        DrawItemClassic(item);
    else
        DrawItemFlat(item);
}

void COwnerMenu::DrawItemClassic(DRAWITEMSTRUCT* item)
{
    const COwnerMenuData* record = reinterpret_cast<const COwnerMenuData*>(item->itemData);
    CDC dc(item->hDC);
    const RECT& rc = item->rcItem;
    const COLORREF back = ::GetSysColor(IsThemedXp() ? COLOR_BTNFACE : COLOR_MENU);
    if (record->flags & MF_SEPARATOR) {
        Fill(&dc, rc, back);
        RECT line = rc;
        line.top += (line.bottom - line.top) >> 1;
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const UINT state = item->itemState;
    const bool selected = (state & ODS_SELECTED) != 0, grayed = (state & ODS_GRAYED) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;
    HPEN pen = ::CreatePen(PS_SOLID, 0, back);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    COLORREF text = ::GetSysColor(COLOR_MENUTEXT);
    const ItemLook look = ReadLook(record, state, false);

    if (!selected) {
        Fill(&dc, rc, back);
        dc.Draw3dRect(rc, back, back);
    } else {
        RECT lit = rc;
        if (look.AnyImage() || checked)
            lit.left += iconWidth + 5;
        Fill(&dc, lit, ::GetSysColor(COLOR_HIGHLIGHT));
        text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    }

    const int dy = owner_menu::ClassicImageTop(rc.top, rc.bottom, iconHeight);
    const RECT cell = {rc.left + 1, rc.top + dy + 1, rc.left + iconWidth + 3, rc.top + dy + iconHeight + 3};
    const RECT outer = {rc.left, rc.top + dy, rc.left + iconWidth + 4, rc.top + dy + iconHeight + 4};
    const POINT origin = {rc.left + 2, rc.top + dy + 2};
    if (look.AnyImage()) {
        dc.Draw3dRect(cell, back, back);
        bool drawImage = true;
        if (look.checkImage && checkImages) {
            Fill(&dc, cell, back);
            dc.Draw3dRect(outer, back, back);
            checkImages->Draw(selected ? 1 : 0, dc, origin.x, origin.y, ILD_TRANSPARENT);
            drawImage = false;
        } else if (look.disabledImage) {
            dc.Draw3dRect(outer, back, back);
            DrawDisabledImage(&dc, look, origin.x, origin.y, back);
            drawImage = false;
        } else if (look.selectedImage) {
            Fill(&dc, cell, back);
            if (WindowsVersion > 1) {
                if (checked)
                    dc.Draw3dRect(outer, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
                else
                    dc.Draw3dRect(outer, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
            }
        } else if (checked) {
            Fill(&dc, cell, BlendTowardWhite(back, 0.6));
            if (WindowsVersion > 1)
                dc.Draw3dRect(outer, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        } else {
            Fill(&dc, cell, back);
            dc.Draw3dRect(outer, back, back);
        }
        if (drawImage && look.list)
            look.list->Draw(look.imageOffset, dc, origin.x, origin.y, ILD_TRANSPARENT);
    }

    if (look.imageId < 0 && checked && !look.checkImage) {
        RECT box = {rc.left + 1, rc.top + dy + 2, rc.left + iconWidth + 1, rc.top + dy + iconHeight + 2};
        DrawCheckBoxClassic(&dc, box, selected, IsRadioItem(reinterpret_cast<HMENU>(item->hwndItem), item->itemID));
    }

    const owner_menu::AcceleratorSplit caption = owner_menu::SplitAccelerator(record->GetText());
    if (!caption.label.empty() || caption.hasTab) {
        RECT r = {rc.left + iconWidth + 9, rc.top - 1, rc.right, rc.bottom - 1};
        if (caption.hasTab)
            r.right -= iconWidth;
        int oldMode = ::SetBkMode(dc, TRANSPARENT);
        COLORREF oldText;
        if (!grayed) {
            oldText = dc.SetTextColor(text);
            DrawCaption(&dc, caption, r);
        } else if (selected) {
            oldText = dc.SetTextColor(back);
            DrawCaption(&dc, caption, r);
        } else {
            // Embossed: a lit copy one pixel down and right under the grey.
            RECT lit = r;
            ::OffsetRect(&lit, 1, 1);
            oldText = dc.SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawCaption(&dc, caption, lit);
            dc.SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
            DrawCaption(&dc, caption, r);
        }
        dc.SetTextColor(oldText);
        ::SetBkMode(dc, oldMode);
    }
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

void COwnerMenu::DrawItemFlat(DRAWITEMSTRUCT* item)
{
    const COwnerMenuData* record = reinterpret_cast<const COwnerMenuData*>(item->itemData);
    CDC target(item->hDC);
    const RECT& rc = item->rcItem;
    const COLORREF window = ::GetSysColor(COLOR_WINDOW), face = ::GetSysColor(COLOR_BTNFACE);
    const int column = iconWidth + 7;
    UINT state = item->itemState;
    if (state & ODS_GRAYED)
        state &= ~static_cast<UINT>(ODS_SELECTED);  // a grayed item is never shown selected

    COwnerMenuMemDC dc(&target, &rc);
    HFONT font = CreateMenuFont();
    HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
    const RECT columnRect = {rc.left, rc.top, rc.left + column, rc.bottom};

    if (record->flags & MF_SEPARATOR) {
        Fill(&dc, rc, window);
        RECT line = rc;
        line.top += (line.bottom - line.top) >> 1;
        line.left = columnRect.right + 7;
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        Fill(&dc, columnRect, face);
        dc.Draw3dRect(columnRect, face, face);
    } else {
        const bool selected = (state & ODS_SELECTED) != 0, grayed = (state & ODS_GRAYED) != 0;
        const bool checked = (state & ODS_CHECKED) != 0;
        const COLORREF text = ::GetSysColor(COLOR_MENUTEXT), highlight = ::GetSysColor(COLOR_HIGHLIGHT);
        const COLORREF selection = BlendTowardWhite(highlight, 0.7);
        HPEN pen = ::CreatePen(PS_SOLID, 0, window);
        HGDIOBJ oldPen = ::SelectObject(dc, pen);
        const ItemLook look = ReadLook(record, state, true);

        if (!selected) {
            Fill(&dc, rc, window);
            Fill(&dc, columnRect, face);
            dc.Draw3dRect(rc, window, window);
            dc.Draw3dRect(columnRect, face, face);
        } else {
            Fill(&dc, rc, selection);
            dc.Draw3dRect(rc, highlight, highlight);
        }

        const int dy = owner_menu::CentredOffset(rc.bottom - rc.top, iconHeight);
        const int dx = owner_menu::CentredOffset(column, iconWidth);
        POINT origin = {rc.left + dx, rc.top + dy};
        const RECT cell = {rc.left + 1, rc.top + 1, rc.left + column - 1, rc.bottom - 1};
        const CImageList* list = look.list;
        if (look.AnyImage()) {
            if (look.checkImage && checkImages) {
                Fill(&dc, cell, face);
                checkImages->Draw(selected ? 1 : 0, dc, origin.x, origin.y, ILD_TRANSPARENT);
            } else if (look.disabledImage) {
                DrawDisabledImage(&dc, look, origin.x, origin.y, face);
            } else if (look.selectedImage) {
                Fill(&dc, cell, selection);
                if (checked) {
                    dc.Draw3dRect(cell, highlight, highlight);
                    origin.x -= 1;
                    origin.y -= 1;
                }
                if (list) {
                    if (look.faded && !checked) {
                        list->Draw(look.shadowImage, dc, origin.x + 1, origin.y + 1, ILD_TRANSPARENT);
                        list->Draw(look.imageOffset, dc, origin.x - 1, origin.y - 1, ILD_TRANSPARENT);
                    } else {
                        list->Draw(look.imageOffset, dc, origin.x, origin.y, ILD_TRANSPARENT);
                    }
                }
            } else if (checked) {
                Fill(&dc, cell, BlendTowardWhite(highlight, 0.85));
                dc.Draw3dRect(cell, highlight, highlight);
                if (list)
                    list->Draw(look.imageOffset, dc, origin.x - 1, origin.y - 1, ILD_TRANSPARENT);
            } else {
                Fill(&dc, cell, face);
                dc.Draw3dRect(cell, face, face);
                if (list)
                    list->Draw(look.faded ? look.unselectedImage : look.imageOffset, dc, origin.x, origin.y,
                               ILD_TRANSPARENT);
            }
        }

        if (look.imageId < 0 && checked && !look.checkImage) {
            const int x = rc.left + owner_menu::CentredOffset(column, 16);
            const int y = rc.top + owner_menu::CentredOffset(rc.bottom - rc.top, 16);
            const RECT box = {x, y, x + 16, y + 16};
            DrawCheckBoxFlat(&dc, box, highlight,
                             IsRadioItem(reinterpret_cast<HMENU>(item->hwndItem), item->itemID));
        }

        const owner_menu::AcceleratorSplit caption = owner_menu::SplitAccelerator(record->GetText());
        if (!caption.label.empty() || caption.hasTab) {
            RECT r = {rc.left + column + 8, rc.top - 1, rc.right, rc.bottom - 1};
            if (caption.hasTab)
                r.right -= iconWidth;
            int oldMode = ::SetBkMode(dc, TRANSPARENT);
            COLORREF oldText = dc.SetTextColor(grayed ? ::GetSysColor(COLOR_GRAYTEXT) : text);
            DrawCaption(&dc, caption, r);
            dc.SetTextColor(oldText);
            ::SetBkMode(dc, oldMode);
        }
        ::SelectObject(dc, oldPen);
        ::DeleteObject(pen);
    }
    if (oldFont)
        ::SelectObject(dc, oldFont);
    if (font)
        ::DeleteObject(font);
}
