#include "ImageButton.h"

#include <windowsx.h>
#include <mmsystem.h>
#include <shellapi.h>

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

void PlayButtonSound(const CImageButton::Sound& s)
{
    if (s.name[0])
        ::PlaySoundA(s.name, s.module, s.flags);
    else if (s.sound)
        ::PlaySoundA(static_cast<LPCSTR>(s.sound), s.module, s.flags);
}

// A one-pixel line in colour through the points, with the pen put back.
void Polyline3(HDC dc, COLORREF colour, POINT a, POINT b, POINT c)
{
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, a.x, a.y, nullptr);
    ::LineTo(dc, b.x, b.y);
    ::LineTo(dc, c.x, c.y);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

}  // namespace

bool IsCheckBoxType(unsigned type)
{
    switch (type & 0xF) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return true;
    default:
        return false;
    }
}

RECT PlaceButtonImage(const RECT& item, RECT* caption, SIZE image, bool hasCaption, POINT origin,
                      POINT pressedOffset, bool shiftPressed)
{
    RECT r = item;
    if (hasCaption) {
        r.left += origin.x;
        if (caption)
            caption->left += image.cx + origin.x;
    } else {
        r.left += (item.right - item.left - image.cx) / 2;
    }
    r.top += (item.bottom - item.top - image.cy) / 2;
    if (shiftPressed)
        ::OffsetRect(&r, pressedOffset.x, pressedOffset.y);
    return r;
}

BEGIN_MESSAGE_TABLE(CImageButton, CWnd)
    OnMessage<&CImageButton::OnSetCursor>(WM_SETCURSOR),
    OnMessage<&CImageButton::OnKillFocus>(WM_KILLFOCUS),
    OnMessage<&CImageButton::OnMouseMove>(WM_MOUSEMOVE),
    OnMessage<&CImageButton::OnSysColorChange>(WM_SYSCOLORCHANGE),
    OnMessage<&CImageButton::OnClicked>(Reflected(WM_COMMAND)),
    OnMessage<&CImageButton::OnActivate>(WM_ACTIVATE),
    OnMessage<&CImageButton::OnEnable>(WM_ENABLE),
    OnMessage<&CImageButton::OnCancelMode>(WM_CANCELMODE),
    OnMessage<&CImageButton::OnGetDlgCode>(WM_GETDLGCODE),
    OnMessages<&CImageButton::OnCtlColor>(Reflected(WM_CTLCOLORMSGBOX), Reflected(WM_CTLCOLORSTATIC)),
    OnMessage<&CImageButton::OnDrawItem>(Reflected(WM_DRAWITEM)),
    OnMessage<&CImageButton::OnSetStyle>(BM_SETSTYLE),
    OnMessage<&CImageButton::OnMouseLeave>(WM_MOUSELEAVE),
    OnMessage<&CImageButton::OnSetCheck>(BM_SETCHECK),
    OnMessage<&CImageButton::OnGetCheck>(BM_GETCHECK),
END_MESSAGE_TABLE()
// WM_MENUCHAR and the menu's WM_MEASUREITEM / WM_DRAWITEM reach the menu's
// object through the framework (CMenuOwner, found by the menu handle).

CImageButton::CImageButton()
{
    backIn = backOut = backFocus = ::GetSysColor(COLOR_BTNFACE);
    foreIn = foreOut = foreFocus = ::GetSysColor(COLOR_BTNTEXT);
}

CImageButton::~CImageButton()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    DeleteBackgroundCopy();
    ReleaseImages();
    if (cursor)
        ::DestroyCursor(cursor);
    if (menu.GetSafeHmenu())
        menu.DestroyMenu();
}

// ---- images ---------------------------------------------------------------

int CImageButton::SetBitmap(HBITMAP bitmap, COLORREF transparent)
{
    if (bitmap && bitmap == bitmaps[0].bitmap) {
        // The bitmap held already: keep it and its mask. Only a new key
        // colour needs a new mask (the old key's pixels stay black).
        if (transparent != bitmaps[0].transparent) {
            HBITMAP mask = MakeImageMask(bitmap, bitmaps[0].width, bitmaps[0].height, transparent);
            if (!mask) {
                ReleaseImages();
                return 2;
            }
            if (bitmaps[0].mask)
                ::DeleteObject(bitmaps[0].mask);
            bitmaps[0].mask = mask;
            bitmaps[0].transparent = transparent;
        }
        Invalidate();
        return 0;
    }
    ReleaseImages();
    if (!bitmap) {
        Invalidate();
        return 0;
    }
    bitmaps[0].bitmap = bitmap;
    bitmaps[0].transparent = transparent;
    BITMAP bm = {};
    if (!::GetObjectW(bitmap, sizeof bm, &bm)) {
        ReleaseImages();
        return 1;
    }
    bitmaps[0].width = bm.bmWidth;
    bitmaps[0].height = bm.bmHeight;
    bitmaps[0].mask = MakeImageMask(bitmap, bm.bmWidth, bm.bmHeight, transparent);
    if (!bitmaps[0].mask) {
        ReleaseImages();
        return 2;
    }
    Invalidate();
    return 0;
}

void CImageButton::ReleaseImages()
{
    for (Icon& i : icons)
        if (i.icon)
            ::DestroyIcon(i.icon);
    for (Bitmap& b : bitmaps) {
        if (b.bitmap)
            ::DeleteObject(b.bitmap);
        if (b.mask)
            ::DeleteObject(b.mask);
    }
    for (Icon& i : icons)
        i = Icon{};
    for (Bitmap& b : bitmaps)
        b = Bitmap{};
}

HBITMAP CImageButton::MakeImageMask(HBITMAP bitmap, int width, int height, COLORREF transparent)
{
    HBITMAP mask = ::CreateBitmap(width, height, 1, 1, nullptr);
    if (!mask)
        return nullptr;
    HDC source = ::CreateCompatibleDC(nullptr);
    HDC target = ::CreateCompatibleDC(nullptr);
    if (!source || !target) {
        if (source)
            ::DeleteDC(source);
        if (target)
            ::DeleteDC(target);
        ::DeleteObject(mask);
        return nullptr;
    }
    HGDIOBJ oldSource = ::SelectObject(source, bitmap);
    HGDIOBJ oldTarget = ::SelectObject(target, mask);
    // Colour to monochrome: the source's background colour becomes 1.
    COLORREF oldBack = ::SetBkColor(source, transparent);
    ::BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
    // Monochrome to colour takes the destination's colours: 1 becomes the
    // background (black), 0 the text colour (white), so that the AND clears
    // only the keyed pixels.
    COLORREF oldText = ::SetTextColor(source, kWhite);
    ::SetBkColor(source, kBlack);
    ::BitBlt(source, 0, 0, width, height, target, 0, 0, SRCAND);
    ::SetTextColor(source, oldText);
    ::SetBkColor(source, oldBack);
    ::SelectObject(source, oldSource);
    ::SelectObject(target, oldTarget);
    ::DeleteDC(source);
    ::DeleteDC(target);
    return mask;
}

void CImageButton::OffsetFirstColor()
{
    BYTE r = GetRValue(backIn), g = GetGValue(backIn), b = GetBValue(backIn);
    if (r != 255 && g != 255 && b != 255)
        backIn = RGB(r + 1, g + 1, b + 1);
    Invalidate();
}

// ---- tool tip ----------------------------------------------------------

void CImageButton::EnsureTooltip()
{
    if (tooltip.m_hWnd)
        return;
    if (!tooltip.Create(m_hWnd, tooltipStyle))
        return;
    tooltip.Activate(false);
    tooltip.SetMaxTipWidth(400);
}

void CImageButton::SetHintText(const wchar_t* text)
{
    if (!text)
        return;
    EnsureTooltip();
    if (tooltip.ToolCount() == 0)
        tooltip.AddTool(m_hWnd, text);  // the whole button is the tool
    tooltip.UpdateTipText(m_hWnd, text);
    tooltip.Activate(true);
}

// ---- attaching and messages ----------------------------------------------

void CImageButton::PreSubclassWindow()
{
    DWORD style = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
    buttonType = static_cast<int>(style & 0xF);
    if (IsCheckBoxType(style))
        isCheckBox = 1;
    if (buttonType == BS_DEFPUSHBUTTON) {
        isDefault = 1;
        buttonType = BS_PUSHBUTTON;
    }
    ModifyStyle(0xF, BS_OWNERDRAW);
}

BOOL CImageButton::PreTranslateMessage(MSG* msg)
{
    // The tool follows the mouse by itself (the tool tip subclasses the
    // button). A double click acts as a second click.
    if (msg->hwnd == m_hWnd && msg->message == WM_LBUTTONDBLCLK)
        msg->message = WM_LBUTTONDOWN;
    return CWnd::PreTranslateMessage(msg);
}

void CImageButton::EndHover()
{
    if (flat && hover) {
        hover = 0;
        Invalidate();
    }
}

void CImageButton::OnSetCursor(Message& m)
{
    if (!cursor) {
        m.handled = false;
        return;
    }
    ::SetCursor(cursor);
    m.result = TRUE;
}

void CImageButton::OnKillFocus(Message& m)
{
    // Disabling a window that has the focus takes it away (to no window)
    // before WM_ENABLE arrives.
    focusTakenByDisabling = m.wParam == 0 && !::IsWindowEnabled(m_hWnd);
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    EndHover();
}

void CImageButton::OnMouseMove(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    POINT p = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    ::ClientToScreen(m_hWnd, &p);
    HWND under = ::WindowFromPoint(p);
    // Dragging in from outside with the button held does not light it.
    if (!flat || ((m.wParam & MK_LBUTTON) && !hover))
        return;
    HWND active = alwaysTrack ? m_hWnd : ::GetActiveWindow();
    if (under == m_hWnd && active) {
        if (hover)
            return;
        hover = 1;
        Invalidate();
        PlayButtonSound(hoverSound);
        TRACKMOUSEEVENT t = {sizeof t, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&t);
    } else {
        EndHover();
    }
}

void CImageButton::DeleteBackgroundCopy()
{
    if (backgroundDC) {
        if (previousBitmap)
            ::SelectObject(backgroundDC, previousBitmap);
        ::DeleteDC(backgroundDC);
    }
    if (backgroundBitmap)
        ::DeleteObject(backgroundBitmap);
    backgroundDC = nullptr;
    backgroundBitmap = nullptr;
    previousBitmap = nullptr;
}

void CImageButton::OnSysColorChange(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    DeleteBackgroundCopy();
    backIn = backOut = backFocus = ::GetSysColor(COLOR_BTNFACE);
    foreIn = foreOut = foreFocus = ::GetSysColor(COLOR_BTNTEXT);
    Invalidate();
}

void CImageButton::OnClicked(Message& m)
{
    m.handled = false;  // the parent hears the click too
    if (HIWORD(m.wParam) != BN_CLICKED)
        return;
    ::SetFocus(m_hWnd);
    PlayButtonSound(clickSound);
    if (isCheckBox) {
        checkState = !checkState;
        Invalidate();
    } else if (menu.GetSafeHmenu()) {
        OpenMenu();
    } else if (url[0]) {
        SHELLEXECUTEINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.lpVerb = "open";
        info.lpFile = url;
        info.nShow = SW_SHOWMAXIMIZED;
        ::ShellExecuteExA(&info);
    }
}

void CImageButton::OpenMenu()
{
    RECT r = GetWindowRect();
    menuShown = 1;
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HMENU popup = ::GetSubMenu(menu.GetSafeHmenu(), 0);
    if (menuCallback.hwnd)
        ::SendMessageW(menuCallback.hwnd, menuCallback.message, reinterpret_cast<WPARAM>(popup),
                       menuCallback.lParam);
    UINT command = 0;
    if (popup)
        command = static_cast<UINT>(::TrackPopupMenu(
            popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, r.left, r.bottom, 0, m_hWnd, nullptr));
    menuShown = 0;
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (command && menuOwner)
        ::PostMessageW(menuOwner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void CImageButton::OnActivate(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (LOWORD(m.wParam) == WA_INACTIVE)
        EndHover();
}

void CImageButton::OnEnable(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    if (m.wParam)
        return;
    // Only a button that had the focus gives it away.
    HWND focus = ::GetFocus();
    bool hadFocus = focus == m_hWnd || (focusTakenByDisabling && !focus);
    focusTakenByDisabling = false;
    if (hadFocus) {
        HWND parent = GetParent();
        HWND next = parent ? ::GetNextDlgTabItem(parent, m_hWnd, FALSE) : nullptr;
        if (next && next != m_hWnd)
            ::SetFocus(next);
        else if (parent)
            ::SetFocus(parent);
    }
    EndHover();
}

void CImageButton::OnCancelMode(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    EndHover();
}

void CImageButton::OnGetDlgCode(Message& m)
{
    m.result = DefWindowProc(m.id, m.wParam, m.lParam);
    m.result |= isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
}

void CImageButton::OnCtlColor(Message& m)
{
    m.result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

void CImageButton::OnDrawItem(Message& m)
{
    DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam));
    m.result = TRUE;
}

void CImageButton::OnSetStyle(Message& m)
{
    UINT type = static_cast<UINT>(m.wParam & 0xF);
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
        isDefault = type == BS_DEFPUSHBUTTON;
    m.result = DefWindowProc(BM_SETSTYLE, (m.wParam & ~static_cast<WPARAM>(0xF)) | BS_OWNERDRAW, m.lParam);
}

void CImageButton::OnMouseLeave()
{
    EndHover();
}

void CImageButton::OnSetCheck(Message& m)
{
    if (!isCheckBox) {
        m.handled = false;
        return;
    }
    checkState = (m.wParam == BST_CHECKED || m.wParam == BST_INDETERMINATE) ? 1 : 0;
    Invalidate();
    m.result = 0;
}

void CImageButton::OnGetCheck(Message& m)
{
    m.result = checkState;
}

// ---- painting -----------------------------------------------------------

void CImageButton::DrawItem(DRAWITEMSTRUCT* item)
{
    if (!item)
        return;
    CDC dc(item->hDC);
    if (isCheckBox)
        pressed = (item->itemState & ODS_SELECTED) || checkState;
    else
        pressed = (item->itemState & ODS_SELECTED) || (menuShown && menu.GetSafeHmenu());
    focused = (item->itemState & ODS_FOCUS) != 0;
    disabled = (item->itemState & ODS_DISABLED) != 0;

    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    RECT rect = item->rcItem;
    if (drawTransparent)
        CopyParentBackground(&dc);
    else
        DrawBackground(&dc, &rect);
    DrawBorder(&dc, &rect);

    CString caption = CString::WindowText(m_hWnd);
    bool hasCaption = !caption.empty();
    RECT captionRect = rect;
    if (icons[0].icon)
        DrawImageIcon(&dc, hasCaption, &rect, &captionRect, pressed, disabled);
    if (bitmaps[0].bitmap) {
        COLORREF oldBack = ::SetBkColor(dc, kWhite);
        DrawImageBitmap(&dc, hasCaption, &rect, &captionRect, pressed, disabled);
        ::SetBkColor(dc, oldBack);
    }
    if (hasCaption)
        DrawCaption(&dc, hasCaption, &rect, &captionRect, pressed, disabled);
    if ((!flat || drawFlatFocus) && focused) {
        RECT f = rect;
        ::InflateRect(&f, -3, -3);
        ::DrawFocusRect(dc, &f);
    }
    ::SetBkMode(dc, oldMode);
}

DWORD CImageButton::DrawBackground(CDC* dc, RECT* rect)
{
    if (!flat && (focused || isDefault)) {
        ::FrameRect(*dc, rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(rect, -1, -1);
    }
    COLORREF fill = (hover || pressed) ? backIn : focused ? backFocus : backOut;
    dc->FillSolidRect(*rect, fill);
    return 0;
}

DWORD CImageButton::DrawBorder(CDC* dc, RECT* rect)
{
    const RECT& r = *rect;
    if (pressed) {
        if (flat) {
            if (drawBorder)
                dc->Draw3dRect(r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        } else {
            HBRUSH shadow = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
            ::FrameRect(*dc, &r, shadow);
            ::DeleteObject(shadow);
        }
        return 0;
    }
    if (flat) {
        if (hover && drawBorder)
            dc->Draw3dRect(r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        return 0;
    }
    Polyline3(*dc, ::GetSysColor(COLOR_BTNHIGHLIGHT), {r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top});
    Polyline3(*dc, ::GetSysColor(COLOR_3DLIGHT), {r.left + 1, r.bottom - 1}, {r.left + 1, r.top + 1},
              {r.right, r.top + 1});
    Polyline3(*dc, ::GetSysColor(COLOR_3DDKSHADOW), {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1},
              {r.right - 1, r.top - 1});
    Polyline3(*dc, ::GetSysColor(COLOR_BTNSHADOW), {r.left + 1, r.bottom - 2}, {r.right - 2, r.bottom - 2},
              {r.right - 2, r.top});
    return 0;
}

int CImageButton::ImageSlot(bool secondSet, bool isPressed) const
{
    if (secondSet && ((isCheckBox && !isPressed) || (!isPressed && !hover)))
        return 1;
    return 0;
}

DWORD CImageButton::DrawImageIcon(CDC* dc, bool hasCaption, const RECT* item, RECT* caption, bool isPressed,
                                  bool isDisabled)
{
    const Icon& icon = icons[ImageSlot(icons[1].icon != nullptr, isPressed)];
    RECT r = PlaceButtonImage(*item, caption, {icon.width, icon.height}, hasCaption, imageOrigin, pressedOffset,
                              isPressed && !isCheckBox);
    ::DrawStateW(*dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.icon), 0, r.left, r.top, icon.width,
                 icon.height, DST_ICON | (isDisabled ? DSS_DISABLED : DSS_NORMAL));
    return 0;
}

DWORD CImageButton::DrawImageBitmap(CDC* dc, bool hasCaption, const RECT* item, RECT* caption, bool isPressed,
                                    bool isDisabled)
{
    const Bitmap& b = bitmaps[ImageSlot(bitmaps[1].bitmap != nullptr, isPressed)];
    const int w = b.width, h = b.height;
    RECT r = PlaceButtonImage(*item, caption, {w, h}, hasCaption, imageOrigin, pressedOffset,
                              isPressed && !isCheckBox);
    HDC image = ::CreateCompatibleDC(*dc);
    HDC mask = ::CreateCompatibleDC(*dc);
    HGDIOBJ oldImage = ::SelectObject(image, b.bitmap);
    HGDIOBJ oldMask = ::SelectObject(mask, b.mask);
    if (isDisabled && showDisabledBitmap) {
        // The keyed image on white, then embossed by the system.
        HBITMAP flatImage = ::CreateCompatibleBitmap(*dc, w, h);
        HDC work = ::CreateCompatibleDC(*dc);
        if (flatImage && work) {
            HGDIOBJ oldWork = ::SelectObject(work, flatImage);
            RECT all = {0, 0, w, h};
            ::FillRect(work, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            ::SetBkColor(work, kWhite);
            ::SetTextColor(work, kBlack);
            ::BitBlt(work, 0, 0, w, h, mask, 0, 0, SRCAND);
            ::BitBlt(work, 0, 0, w, h, image, 0, 0, SRCPAINT);
            // The bitmap must be selected nowhere while it is drawn.
            ::SelectObject(work, oldWork);
            ::DrawStateW(*dc, nullptr, nullptr, reinterpret_cast<LPARAM>(flatImage), 0, r.left, r.top, w, h,
                         DST_BITMAP | DSS_DISABLED);
        }
        if (work)
            ::DeleteDC(work);
        if (flatImage)
            ::DeleteObject(flatImage);
    } else {
        // The mask clears the image's pixels to black (0 -> text colour)
        // and keeps the ground under the keyed ones (1 -> background).
        COLORREF oldText = ::SetTextColor(*dc, kBlack);
        COLORREF oldBack = ::SetBkColor(*dc, kWhite);
        ::BitBlt(*dc, r.left, r.top, w, h, mask, 0, 0, SRCAND);
        ::BitBlt(*dc, r.left, r.top, w, h, image, 0, 0, SRCPAINT);
        ::SetTextColor(*dc, oldText);
        ::SetBkColor(*dc, oldBack);
    }
    ::SelectObject(image, oldImage);
    ::SelectObject(mask, oldMask);
    ::DeleteDC(image);
    ::DeleteDC(mask);
    return 0;
}

DWORD CImageButton::DrawCaption(CDC* dc, bool, const RECT*, RECT* caption, bool isPressed, bool isDisabled)
{
    CString text = CString::WindowText(m_hWnd);
    if (isPressed && !isCheckBox)
        ::OffsetRect(caption, pressedOffset.x, pressedOffset.y);
    RECT measured = *caption;
    ::DrawTextW(*dc, text.c_str(), -1, &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    ::OffsetRect(&measured, ((caption->right - caption->left) - (measured.right - measured.left)) / 2,
                 ((caption->bottom - caption->top) - (measured.bottom - measured.top)) / 2);
    *caption = measured;
    ::SetBkMode(*dc, TRANSPARENT);
    if (isDisabled) {
        RECT lit = *caption;
        ::OffsetRect(&lit, 1, 1);
        dc->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextW(*dc, text.c_str(), -1, &lit, DT_WORDBREAK | DT_CENTER);
        dc->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        ::DrawTextW(*dc, text.c_str(), -1, caption, DT_WORDBREAK | DT_CENTER);
    } else {
        if (hover || isPressed) {
            dc->SetTextColor(foreIn);
            ::SetBkColor(*dc, backIn);
        } else if (focused) {
            dc->SetTextColor(foreFocus);
            ::SetBkColor(*dc, backFocus);
        } else {
            dc->SetTextColor(foreOut);
            ::SetBkColor(*dc, backOut);
        }
        ::DrawTextW(*dc, text.c_str(), -1, caption, DT_WORDBREAK | DT_CENTER);
    }
    return 0;
}

void CImageButton::CopyParentBackground(CDC* dc)
{
    HWND parent = GetParent();
    RECT client = GetClientRect();
    if (!backgroundDC && parent) {
        RECT r = GetWindowRect();
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        HDC parentDC = ::GetDC(parent);
        backgroundDC = ::CreateCompatibleDC(parentDC);
        backgroundBitmap = ::CreateCompatibleBitmap(parentDC, client.right, client.bottom);
        if (backgroundDC && backgroundBitmap) {
            previousBitmap = ::SelectObject(backgroundDC, backgroundBitmap);
            ::BitBlt(backgroundDC, 0, 0, client.right, client.bottom, parentDC, r.left, r.top, SRCCOPY);
        }
        ::ReleaseDC(parent, parentDC);
        if (!backgroundDC || !backgroundBitmap)
            DeleteBackgroundCopy();
    }
    if (backgroundDC)
        ::BitBlt(*dc, 0, 0, client.right, client.bottom, backgroundDC, 0, 0, SRCCOPY);
}
