#include "ProSliderCtrl.h"

#include "PrivateMessages.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

BEGIN_MESSAGE_TABLE(CProSliderCtrl, CWnd)
    OnMessage<&CProSliderCtrl::OnReflectedNotify>(Reflected(WM_NOTIFY)),
    OnMessage<&CProSliderCtrl::OnMouseMove>(WM_MOUSEMOVE),
    OnMessage<&CProSliderCtrl::OnMouseLeave>(WM_MOUSELEAVE),
    OnMessage<&CProSliderCtrl::OnTimer>(WM_TIMER),
    OnMessage<&CProSliderCtrl::OnLButtonDown>(WM_LBUTTONDOWN),
    OnMessage<&CProSliderCtrl::OnLButtonUp>(WM_LBUTTONUP),
    OnMessage<&CProSliderCtrl::OnCaptureChanged>(WM_CAPTURECHANGED),
    OnMessage<&CProSliderCtrl::OnCancelMode>(WM_CANCELMODE),
END_MESSAGE_TABLE()

namespace {

// Where the channel starts and how much of the width it leaves (the
// trackbar's margins with the bar's thumb).
const int kChannelStart = 8;
const int kChannelMargins = 20;
// The played part starts here, along the axis.
const int kPlayedStart = 9;

int ByteUp(int byte, int step)
{
    return std::min(byte + step, 255);
}

}  // namespace

COLORREF NextRingColour(COLORREF c)
{
    auto grow = [](int byte) { return byte <= 245 ? byte + 10 : byte; };
    return RGB(grow(GetRValue(c)), grow(GetGValue(c)), grow(GetBValue(c)));
}

COLORREF LightenBy(COLORREF c, int step)
{
    return RGB(ByteUp(GetRValue(c), step), ByteUp(GetGValue(c), step), ByteUp(GetBValue(c), step));
}

bool SliderClickTarget(int rangeMin, int rangeMax, int width, int x, int& target)
{
    if (width <= kChannelMargins)
        return false;
    const long long span = std::max(0LL, static_cast<long long>(rangeMax) - rangeMin);
    const long long usable = width - kChannelMargins;
    const long long along = std::clamp(static_cast<long long>(x) - kChannelStart, 0LL, usable);
    // Rounded like MulDiv; 64-bit, so that no range overflows.
    target = static_cast<int>(rangeMin + (span * along + usable / 2) / usable);
    return true;
}

int SliderClickPage(int target, int position)
{
    long long page = std::llabs(static_cast<long long>(target) - position);
    return static_cast<int>(std::min<long long>(page, 0x7FFFFFFF));
}

int PlayedLength(int length, int position, int rangeMin, int rangeMax)
{
    if (rangeMax <= rangeMin || length <= 0)
        return 0;
    const long long span = static_cast<long long>(rangeMax) - rangeMin;
    const long long done = std::clamp(static_cast<long long>(position) - rangeMin, 0LL, span);
    return static_cast<int>(length * done / span);
}

RECT ThumbHoverRect(RECT thumb)
{
    return {thumb.left - 2, thumb.top + 2, thumb.right + 2, thumb.bottom - 2};
}

CProSliderCtrl::~CProSliderCtrl()
{
    dragging = 0;
}

bool CProSliderCtrl::IsVertical() const
{
    return m_hWnd && (::GetWindowLongW(m_hWnd, GWL_STYLE) & TBS_VERT);
}

void CProSliderCtrl::GradientStep(HDC dc, COLORREF colour, bool firstRing, RECT r) const
{
    // The DC's own brush and pen take each ring's colour: nothing is made,
    // so nothing can be left behind.
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
    const bool vertical = IsVertical();
    for (;;) {
        ::SetDCBrushColor(dc, colour);
        ::SetDCPenColor(dc, colour);
        ::RoundRect(dc, r.left, r.top, r.right, r.bottom, 2, 2);
        if (firstRing || !vertical) {
            ++r.top;
            --r.bottom;
        }
        if (firstRing || vertical) {
            ++r.left;
            --r.right;
        }
        colour = NextRingColour(colour);
        firstRing = false;
        if (::IsRectEmpty(&r))
            break;
    }
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
}

void CProSliderCtrl::GradientStart(COLORREF colour, HDC dc, int step, RECT r) const
{
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
    ::SetDCBrushColor(dc, colour);
    ::SetDCPenColor(dc, colour);
    ::RoundRect(dc, r.left, r.top, r.right, r.bottom, 2, 2);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::InflateRect(&r, -1, -1);
    if (!::IsRectEmpty(&r))
        GradientStep(dc, LightenBy(colour, step), false, r);
}

void CProSliderCtrl::OnReflectedNotify(Message& m)
{
    NMHDR* h = m.Notify();
    if (!h || h->code != NM_CUSTOMDRAW || h->hwndFrom != m_hWnd) {
        m.handled = false;  // NM_RELEASEDCAPTURE and the rest are the parent's
        return;
    }
    CustomDraw(m.NotifyAs<NMCUSTOMDRAW>(), m);
}

void CProSliderCtrl::CustomDraw(NMCUSTOMDRAW* cd, Message& m)
{
    switch (cd->dwDrawStage) {
    case CDDS_PREPAINT:
        m.result = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_PREERASE:
    case CDDS_POSTERASE:
        // The trackbar fills its background with the parent's colour: the
        // groove leaves rows above and below it that would otherwise show
        // whatever the trackbar's drawing buffer held (black under Wine).
        m.result = CDRF_DODEFAULT;
        return;
    case CDDS_ITEMPREPAINT:
        if (cd->dwItemSpec == TBCD_THUMB) {
            // Wine's trackbar marks a held thumb hot, not selected.
            if ((cd->uItemState & CDIS_SELECTED) || (dragging && m_pressedOnThumb))
                thumbColour = pressedThumbColour;
            GradientStep(cd->hdc, thumbColour, true, cd->rc);
            m.result = CDRF_SKIPDEFAULT;
            return;
        }
        if (cd->dwItemSpec == TBCD_CHANNEL) {
            if (drawGroove)
                PaintGroove(cd->hdc);
            PaintPlayed(cd->hdc, cd->rc);
            m.result = CDRF_SKIPDEFAULT;
            return;
        }
        break;
    default:
        break;
    }
    m.result = CDRF_DODEFAULT;
}

void CProSliderCtrl::PaintGroove(HDC dc)
{
    RECT r = GetClientRect();
    r.top += 4;
    r.bottom -= 4;
    GradientStart(channelColour, dc, 5, r);
}

void CProSliderCtrl::PaintPlayed(HDC dc, RECT r)
{
    const bool horizontal = r.right - r.left >= r.bottom - r.top;
    if (horizontal)
        ::InflateRect(&r, 0, 5);
    else
        ::InflateRect(&r, 5, 0);
    ::DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (horizontal) {
        ::InflateRect(&r, 0, 1);
        r.right = kPlayedStart + PlayedLength(r.right - r.left, position, rangeMin, rangeMax);
        r.left = kPlayedStart;
    } else {
        ::InflateRect(&r, 1, 0);
        r.bottom = kPlayedStart + PlayedLength(r.bottom - r.top, position, rangeMin, rangeMax);
        r.top = kPlayedStart;
    }
    if (!::IsRectEmpty(&r))
        GradientStart(playedColour, dc, 20, r);
}

void CProSliderCtrl::OnMouseMove(Message& m)
{
    RECT thumb = {};
    SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const RECT hover = ThumbHoverRect(thumb);
    const POINT p = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    const COLORREF colour = ::PtInRect(&hover, p) ? hoverThumbColour : normalThumbColour;
    if (colour != thumbColour) {
        thumbColour = colour;
        Invalidate(false);
    }
    if (!tracking) {
        TRACKMOUSEEVENT t = {sizeof t, TME_HOVER | TME_LEAVE, m_hWnd, 1};
        tracking = ::TrackMouseEvent(&t) ? 1 : 0;
    }
    m.handled = false;
}

void CProSliderCtrl::OnMouseLeave()
{
    tracking = 0;
    Invalidate(true);
}

void CProSliderCtrl::OnTimer(Message& m)
{
    if (m.wParam == kStepTimer) {
        if (dragging)
            ::PostMessageW(GetParent(), WM_STEP_FRAME, 1, 0);
    } else if (m.wParam == kBlinkTimer) {
        if (blinkOn) {
            const COLORREF blink = RGB(102, 102, 204);
            const bool changed = thumbColour != blink || channelColour != blink;
            thumbColour = channelColour = blink;
            blinkOn = 0;
            if (changed)
                Invalidate(false);
        } else {
            blinkOn = 1;
        }
    }
    m.handled = false;
}

void CProSliderCtrl::OnLButtonDown(Message& m)
{
    dragging = 1;
    SetTimer(kStepTimer, kStepMs);
    RECT thumb = {};
    SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    m_pressedOnThumb = ::PtInRect(&thumb, {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)}) != 0;
    const RECT w = GetWindowRect();
    const int rangeLow = static_cast<int>(SendMessage(TBM_GETRANGEMIN));
    const int rangeHigh = static_cast<int>(SendMessage(TBM_GETRANGEMAX));
    const int pos = static_cast<int>(SendMessage(TBM_GETPOS));
    int target = 0;
    if (SliderClickTarget(rangeLow, rangeHigh, w.right - w.left, GET_X_LPARAM(m.lParam), target))
        SendMessage(TBM_SETPAGESIZE, 0, SliderClickPage(target, pos));
    if (!suppressDefaultClick)
        m.handled = false;
}

void CProSliderCtrl::EndDrag()
{
    dragging = 0;
    m_pressedOnThumb = false;
    KillTimer(kStepTimer);
}

void CProSliderCtrl::OnLButtonUp(Message& m)
{
    EndDrag();
    m.handled = false;
}

void CProSliderCtrl::OnCaptureChanged(Message& m)
{
    // Another window took the mouse: the button's release will not come here.
    if (reinterpret_cast<HWND>(m.lParam) != m_hWnd)
        EndDrag();
    m.handled = false;
}

void CProSliderCtrl::OnCancelMode(Message& m)
{
    EndDrag();
    m.handled = false;
}
