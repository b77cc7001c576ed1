// CProSliderCtrl: the play-position slider of the control bar. A trackbar
// painted through its own custom-draw notifications: a rounded gradient
// groove, the played part, and a thumb that lights up under the mouse and
// changes colour while pressed. A click jumps the thumb to the point
// clicked; while the left button is held the slider posts WM_STEP_FRAME to
// its parent every 50 ms, so the panel shows the frame under the thumb.
//
// Ranges go to the trackbar with TBM_SETRANGEMIN / TBM_SETRANGEMAX (play
// positions in milliseconds do not fit TBM_SETRANGE's 16-bit halves).
#pragma once

#include "Wnd.h"

#include <windows.h>
#include <commctrl.h>

class CProSliderCtrl : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    CProSliderCtrl() = default;
    ~CProSliderCtrl() override;

    // The timer that steps the panel while the button is held, and the
    // blink timer (which nothing starts in the player).
    static const UINT_PTR kStepTimer = 0xF404;
    static const UINT_PTR kBlinkTimer = 0xF403;
    static const UINT kStepMs = 50;

    COLORREF channelColour = RGB(113, 113, 225);
    COLORREF playedColour = RGB(102, 102, 204);
    // Scale and position of the played part, written by the owner.
    int rangeMin = 0;
    int rangeMax = 0;
    int position = 0;
    COLORREF hoverThumbColour = RGB(255, 102, 0);
    COLORREF normalThumbColour = RGB(0, 204, 0);
    COLORREF pressedThumbColour = RGB(153, 102, 204);
    COLORREF thumbColour = RGB(0, 204, 0);  // the colour the thumb is painted with now
    int drawGroove = 1;
    int suppressDefaultClick = 0;  // a press is not passed on to the trackbar
    int blinkOn = 0;
    int dragging = 0;  // the left button is held on the control
    int tracking = 0;  // mouse-leave tracking is armed

    // Rings of a rounded shape that lightens towards its centre line,
    // starting in colour on r; shrinks on every side first, then only across
    // the slider's axis.
    void GradientStep(HDC dc, COLORREF colour, bool firstRing, RECT r) const;
    // One ring in colour, then GradientStep from colour lightened by step.
    void GradientStart(COLORREF colour, HDC dc, int step, RECT r) const;

private:
    bool IsVertical() const;
    void OnReflectedNotify(Message& m);
    void CustomDraw(NMCUSTOMDRAW* cd, Message& m);
    void PaintGroove(HDC dc);
    void PaintPlayed(HDC dc, RECT channel);
    void OnMouseMove(Message& m);
    void OnMouseLeave();
    void OnTimer(Message& m);
    void OnLButtonDown(Message& m);
    void OnLButtonUp(Message& m);
    void OnCaptureChanged(Message& m);
    void OnCancelMode(Message& m);
    void EndDrag();

    bool m_pressedOnThumb = false;  // the held button went down on the thumb
};

// The colour of the next gradient ring: each byte up to 245 grows by 10.
COLORREF NextRingColour(COLORREF c);
// The second colour of a gradient start: each byte plus step, at most 255.
COLORREF LightenBy(COLORREF c, int step);

// Where a click at client x (window width pixels wide, the channel running
// from x = 8 to width - 12) puts the thumb of a slider over min..max. False
// when the slider is 20 pixels wide or less: no point maps there, and the
// click is left to the trackbar as it is.
bool SliderClickTarget(int rangeMin, int rangeMax, int width, int x, int& target);
// The page size that moves the thumb from position to target in one step.
int SliderClickPage(int target, int position);
// Pixels of a length-pixel channel that the played part fills: the share
// of position in min..max, within 0..length; nothing when max <= min.
int PlayedLength(int length, int position, int rangeMin, int rangeMax);
// The rectangle around the thumb in which the mouse counts as over it.
RECT ThumbHoverRect(RECT thumb);
