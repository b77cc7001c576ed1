#include "ProSliderCtrl.h"

#include "Gdi.h"
#include "PrivateMessages.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

const COLORREF kPanel = RGB(88, 92, 95);

// The control bar as the slider sees it: a panel that paints its own
// colour, gives its controls its brush, and counts what the slider sends.
class Bar : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    Bar() { m_brush.CreateSolidBrush(kPanel); }
    int steps = 0;
    int released = 0;
    int scrolls = 0;

private:
    void OnStep() { ++steps; }
    void OnNotify(Message& m)
    {
        if (m.Notify()->code == static_cast<UINT>(NM_RELEASEDCAPTURE))
            ++released;
    }
    void OnHScroll() { ++scrolls; }
    LRESULT OnErase(WPARAM dc, LPARAM)
    {
        RECT r = GetClientRect();
        ::FillRect(reinterpret_cast<HDC>(dc), &r, m_brush);
        return 1;
    }
    LRESULT OnColour(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush)); }
    CBrush m_brush;
};

BEGIN_MESSAGE_TABLE(Bar, CWnd)
    OnMessage<&Bar::OnStep>(WM_STEP_FRAME),
    OnMessage<&Bar::OnNotify>(WM_NOTIFY),
    OnMessage<&Bar::OnHScroll>(WM_HSCROLL),
    OnMessage<&Bar::OnErase>(WM_ERASEBKGND),
    OnMessage<&Bar::OnColour>(WM_CTLCOLORSTATIC),
END_MESSAGE_TABLE()

const int kBarX = 60, kBarY = 80;
const int kSliderX = 10, kSliderY = 20;

// A bar with the position slider as the control bar sets it up: 20 pixels
// high, fixed thumb length 13, no ticks, a range in milliseconds.
struct SliderBench {
    explicit SliderBench(int width = 520, int rangeMax = 3600000)
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
        // Not activated: Wine takes seconds to destroy an active window.
        bar.CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, nullptr, L"bar", WS_POPUP, kBarX, kBarY, width + 40, 60,
                     nullptr, 0);
        ::ShowWindow(bar.m_hWnd, SW_SHOWNOACTIVATE);
        HWND tb = ::CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_NOTICKS,
                                    kSliderX, kSliderY, width, 20, bar.m_hWnd, reinterpret_cast<HMENU>(229),
                                    ::GetModuleHandleW(nullptr), nullptr);
        slider.SubclassWindow(tb);
        slider.ModifyStyle(0, TBS_FIXEDLENGTH);
        slider.SendMessage(TBM_SETTHUMBLENGTH, 13);
        slider.SendMessage(TBM_SETRANGEMIN, FALSE, 0);
        slider.SendMessage(TBM_SETRANGEMAX, TRUE, rangeMax);
        wintest::Pump(50);
    }
    ~SliderBench()
    {
        ::ReleaseCapture();
        slider.DestroyWindow();
        bar.DestroyWindow();
        wintest::Pump(0);
    }
    RECT Thumb()
    {
        RECT r = {};
        slider.SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    int Pos() { return static_cast<int>(slider.SendMessage(TBM_GETPOS)); }
    void Repaint() { ::RedrawWindow(bar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN); }
    // Screen point of a client point of the slider.
    POINT Screen(int x, int y)
    {
        POINT p = {x, y};
        ::ClientToScreen(slider.m_hWnd, &p);
        return p;
    }
    Bar bar;
    CProSliderCtrl slider;
};

// The real mouse: input as the user makes it, through the system's queue.
using wintest::MouseTo;

void Button(bool down)
{
    wintest::MouseButton(down);
}

void Click(POINT p)
{
    MouseTo(p);
    Button(true);
    wintest::Pump(20);
    Button(false);
    wintest::Pump(40);
}

// The slider as the screen shows it once drawing has reached it (Wine
// hands window contents to the display a little later): two reads 50 ms
// apart that agree.
wintest::ScreenCapture Settled(HWND w)
{
    wintest::Pump(50);
    wintest::ScreenCapture last(w);
    for (int i = 0; i < 20; ++i) {
        wintest::Pump(50);
        wintest::ScreenCapture now(w);
        if (now.Count(0, 0, now.Width(), now.Height(), [&, x = 0, y = 0](COLORREF p) mutable {
                bool differs = p != last.Pixel(x, y);
                if (++x == last.Width()) {
                    x = 0;
                    ++y;
                }
                return differs;
            }) == 0)
            return now;
        last = now;
    }
    return last;
}

int CentreX(const RECT& r)
{
    return (r.left + r.right) / 2;
}

}  // namespace

TEST(ProSliderMaths, ClickLandsUnderTheCursor)
{
    struct Case {
        int rangeMin, rangeMax, width, x;
        bool mapped;
        int target;
    } cases[] = {
        // 25, 50 and 75 % of an hour in milliseconds on the bar's 520 pixels.
        {0, 3600000, 520, 8 + 125, true, 900000},
        {0, 3600000, 520, 8 + 250, true, 1800000},
        {0, 3600000, 520, 8 + 375, true, 2700000},
        // Outside the channel: its ends.
        {0, 3600000, 520, 0, true, 0},
        {0, 3600000, 520, 519, true, 3600000},
        // A range smaller than the width (an integer quotient would be 0).
        {0, 100, 520, 8 + 375, true, 75},
        {1000, 1100, 520, 8 + 250, true, 1050},
        // The whole int range does not overflow.
        {INT_MIN, INT_MAX, 520, 8 + 500, true, INT_MAX},
        // Too narrow to map a point: the click is left to the trackbar.
        {0, 3600000, 0, 5, false, 0},
        {0, 3600000, 20, 10, false, 0},
        {0, 3600000, 21, 8, true, 0},
        {0, 3600000, 21, 9, true, 3600000},
        // An empty or upside-down range stays at its minimum.
        {500, 500, 520, 300, true, 500},
        {500, 100, 520, 300, true, 500},
    };
    for (const Case& c : cases) {
        int target = -1;
        EXPECT_EQ(SliderClickTarget(c.rangeMin, c.rangeMax, c.width, c.x, target), c.mapped)
            << c.width << " " << c.x;
        if (c.mapped) {
            EXPECT_EQ(target, c.target) << c.rangeMin << ".." << c.rangeMax << " w " << c.width << " x " << c.x;
        }
    }
    EXPECT_EQ(SliderClickPage(2700000, 900000), 1800000);
    EXPECT_EQ(SliderClickPage(900000, 2700000), 1800000);
    EXPECT_EQ(SliderClickPage(INT_MAX, INT_MIN), INT_MAX);
}

TEST(ProSliderMaths, PlayedLengthIsTheShareOfTheRange)
{
    struct Case {
        int length, position, rangeMin, rangeMax, played;
    } cases[] = {
        {504, 0, 0, 0, 0},              // no range yet: nothing, no division
        {504, 5000, 0, 0, 0},
        {504, 150000, 0, 300000, 252},
        {1000, 3000000, 0, 3600000, 833},  // length x position passes 2^31
        {504, 400000, 0, 300000, 504},     // beyond the end: the whole channel
        {504, -10, 0, 300000, 0},
        {504, 1500, 1000, 2000, 252},      // the share counts from the minimum
        {504, 1500, 2000, 1000, 0},        // upside down: nothing
        {0, 150, 0, 300, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlayedLength(c.length, c.position, c.rangeMin, c.rangeMax), c.played)
            << c.length << " " << c.position << " " << c.rangeMin << ".." << c.rangeMax;
}

TEST(ProSliderMaths, GradientColoursLightenAndSaturate)
{
    struct Case {
        COLORREF from, ring, start5, start20;
    } cases[] = {
        {RGB(0, 0, 0), RGB(10, 10, 10), RGB(5, 5, 5), RGB(20, 20, 20)},
        {RGB(113, 113, 225), RGB(123, 123, 235), RGB(118, 118, 230), RGB(133, 133, 245)},
        {RGB(102, 102, 204), RGB(112, 112, 214), RGB(107, 107, 209), RGB(122, 122, 224)},
        // A ring grows a byte only while it is 245 or less; a start saturates.
        {RGB(245, 246, 250), RGB(255, 246, 250), RGB(250, 251, 255), RGB(255, 255, 255)},
        {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextRingColour(c.from), c.ring) << std::hex << c.from;
        EXPECT_EQ(LightenBy(c.from, 5), c.start5) << std::hex << c.from;
        EXPECT_EQ(LightenBy(c.from, 20), c.start20) << std::hex << c.from;
    }
}

TEST(ProSlider, PaintsGrooveThumbAndPlayedPart)
{
    SliderBench b(520, 300000);
    b.slider.rangeMin = 0;
    b.slider.rangeMax = 300000;
    b.slider.position = 150000;
    b.slider.SendMessage(TBM_SETPOS, TRUE, 270000);
    b.Repaint();
    wintest::ScreenCapture c = Settled(b.slider.m_hWnd);
    // The groove lightens from its edge (rows 4 and 15) to its centre line.
    const int x = 400;
    EXPECT_EQ(c.Pixel(x, 4), RGB(113, 113, 225));
    EXPECT_EQ(c.Pixel(x, 5), RGB(118, 118, 230));
    EXPECT_EQ(c.Pixel(x, 6), RGB(128, 128, 240));
    EXPECT_EQ(c.Pixel(x, 9), RGB(158, 158, 250));
    EXPECT_EQ(c.Pixel(x, 15), RGB(113, 113, 225));
    // The played part runs from x 9 to half the channel, in its own colour.
    EXPECT_EQ(c.Pixel(100, 1), RGB(102, 102, 204));
    EXPECT_EQ(c.Pixel(100, 2), RGB(122, 122, 224));
    EXPECT_NE(c.Pixel(300, 2), RGB(122, 122, 224));
    // The thumb in the normal colour, lighter inside.
    RECT t = b.Thumb();
    EXPECT_EQ(c.Pixel(t.left, (t.top + t.bottom) / 2), RGB(0, 204, 0));
    EXPECT_EQ(c.Pixel(CentreX(t), (t.top + t.bottom) / 2), RGB(60, 254, 60));
    // Above and below the groove the bar's own colour shows.
    EXPECT_EQ(c.Pixel(x, 2), kPanel);
    EXPECT_EQ(c.Pixel(x, 17), kPanel);

    // Without a range the played part is empty.
    b.slider.rangeMax = 0;
    b.Repaint();
    wintest::ScreenCapture empty = Settled(b.slider.m_hWnd);
    EXPECT_EQ(empty.CountColour(0, 0, 520, 20, RGB(102, 102, 204)), 0);
}

TEST(ProSlider, HoverRepaintKeepsRangesAboveSixteenBits)
{
    // A five-minute recording: 300,000 ms does not fit TBM_SETRANGE's halves.
    SliderBench b(520, 300000);
    b.slider.SendMessage(TBM_SETRANGEMIN, TRUE, 70000);
    b.slider.SendMessage(TBM_SETPOS, TRUE, 150000);
    RECT t = b.Thumb();
    b.slider.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(CentreX(t), 10));
    EXPECT_EQ(b.slider.thumbColour, b.slider.hoverThumbColour);
    b.slider.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 10));
    EXPECT_EQ(b.slider.thumbColour, b.slider.normalThumbColour);
    b.slider.blinkOn = 1;
    b.slider.SendMessage(WM_TIMER, CProSliderCtrl::kBlinkTimer);
    EXPECT_EQ(b.slider.thumbColour, RGB(102, 102, 204));
    b.slider.SendMessage(WM_TIMER, CProSliderCtrl::kBlinkTimer);
    EXPECT_EQ(b.slider.blinkOn, 1);
    wintest::Pump(20);
    EXPECT_EQ(b.slider.SendMessage(TBM_GETRANGEMIN), 70000);
    EXPECT_EQ(b.slider.SendMessage(TBM_GETRANGEMAX), 300000);
    EXPECT_EQ(b.Pos(), 150000);
}

TEST(ProSlider, ThumbLightsUnderTheRealMouse)
{
    SliderBench b;
    b.slider.SendMessage(TBM_SETPOS, TRUE, 1800000);
    b.Repaint();
    RECT t = b.Thumb();
    const int midY = (t.top + t.bottom) / 2;
    MouseTo(b.Screen(CentreX(t), midY));
    ASSERT_TRUE(wintest::PumpUntil([&] { return b.slider.thumbColour == b.slider.hoverThumbColour; }, 1000));
    EXPECT_EQ(b.slider.tracking, 1);
    ASSERT_TRUE(wintest::PumpUntil([&] { return wintest::ClientPixel(b.slider.m_hWnd, t.left, midY) ==
                                                     RGB(255, 102, 0); }, 1000));
    // Elsewhere on the slider: the normal colour again.
    MouseTo(b.Screen(50, midY));
    ASSERT_TRUE(wintest::PumpUntil([&] { return wintest::ClientPixel(b.slider.m_hWnd, t.left, midY) ==
                                                     RGB(0, 204, 0); }, 1000));
    // Off the slider straight from the thumb: leave tracking ends and the
    // thumb keeps the hover colour until the mouse comes back.
    MouseTo(b.Screen(CentreX(t), midY));
    MouseTo(b.Screen(CentreX(t), 45));
    EXPECT_TRUE(wintest::PumpUntil([&] { return b.slider.tracking == 0; }, 1000));
    EXPECT_EQ(b.slider.thumbColour, b.slider.hoverThumbColour);
}

TEST(ProSlider, RealClicksPutTheThumbUnderTheCursor)
{
    struct Case {
        int rangeMax, x, pos;
    } cases[] = {
        {3600000, 8 + 125, 900000},
        {3600000, 8 + 375, 2700000},
        {3600000, 8 + 250, 1800000},
        {100, 8 + 375, 75},  // a range smaller than the width
        {100, 8 + 125, 25},
    };
    for (const Case& c : cases) {
        SliderBench b(520, c.rangeMax);
        Click(b.Screen(c.x, 10));
        EXPECT_EQ(b.Pos(), c.pos) << c.rangeMax << " x " << c.x;
        EXPECT_NEAR(CentreX(b.Thumb()), c.x, 2) << c.rangeMax << " x " << c.x;
        EXPECT_EQ(b.slider.dragging, 0);
        // The bar still hears the trackbar: scrolling and the release.
        EXPECT_GT(b.bar.scrolls, 0);
        EXPECT_EQ(b.bar.released, 1);
    }
}

TEST(ProSlider, NarrowSliderTakesAPlainClick)
{
    for (int width : {20, 12}) {
        SliderBench b(width, 100);
        b.slider.SendMessage(TBM_SETPAGESIZE, 0, 7);
        Click(b.Screen(width - 1, 10));
        EXPECT_EQ(b.slider.SendMessage(TBM_GETPAGESIZE), 7) << width;
        EXPECT_EQ(b.slider.dragging, 0);
    }
}

TEST(ProSlider, NoThumbTrailIsLeftBehind)
{
    SliderBench b;
    b.Repaint();
    std::vector<RECT> old;
    for (int x : {60, 200, 350, 480, 100}) {
        old.push_back(b.Thumb());
        Click(b.Screen(x, 10));
    }
    wintest::ScreenCapture c = Settled(b.slider.m_hWnd);
    const RECT now = b.Thumb();
    for (const RECT& r : old) {
        if (r.right > now.left - 3 && r.left < now.right + 3)
            continue;
        // Where the thumb was: the groove's centre line, and the bar's own
        // colour above and below the groove.
        const int x = CentreX(r);
        EXPECT_EQ(c.Pixel(x, 9), RGB(158, 158, 250)) << x;
        for (int y : {2, 3, 16, 17})
            EXPECT_EQ(c.Pixel(x, y), kPanel) << x << "," << y;
    }
    const COLORREF edge = c.Pixel(now.left, (now.top + now.bottom) / 2);
    EXPECT_TRUE(edge == b.slider.normalThumbColour || edge == b.slider.hoverThumbColour ||
                edge == b.slider.pressedThumbColour)
        << std::hex << edge;
}

TEST(ProSlider, HeldButtonStepsTheParentUntilCaptureIsLost)
{
    SliderBench b;
    MouseTo(b.Screen(300, 10));
    Button(true);
    ASSERT_TRUE(wintest::PumpUntil([&] { return b.slider.dragging == 1; }, 1000));
    const int before = b.bar.steps;
    wintest::Pump(200);
    const int held = b.bar.steps - before;
    // A step every 50 ms: about four in 200 ms (a loaded machine is slower).
    EXPECT_GE(held, 2);
    EXPECT_LE(held, 6);
    // Another window takes the mouse: the release will not come here.
    Bar other;
    other.CreateEx(0, nullptr, L"other", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, 0);
    ::SetCapture(other.m_hWnd);
    wintest::Pump(20);
    EXPECT_EQ(b.slider.dragging, 0);
    const int atLoss = b.bar.steps;
    wintest::Pump(250);
    EXPECT_EQ(b.bar.steps, atLoss);
    Button(false);
    wintest::Pump(20);
    ::ReleaseCapture();
    other.DestroyWindow();

    // WM_CANCELMODE (a dialog coming up, the window disabled) ends it too.
    MouseTo(b.Screen(400, 10));
    Button(true);
    ASSERT_TRUE(wintest::PumpUntil([&] { return b.slider.dragging == 1; }, 1000));
    b.slider.SendMessage(WM_CANCELMODE);
    EXPECT_EQ(b.slider.dragging, 0);
    const int atCancel = b.bar.steps;
    wintest::Pump(200);
    EXPECT_EQ(b.bar.steps, atCancel);
    Button(false);
    wintest::Pump(20);
}

TEST(ProSlider, PressedThumbTakesThePressedColour)
{
    SliderBench b;
    b.slider.SendMessage(TBM_SETPOS, TRUE, 1800000);
    b.Repaint();
    RECT t = b.Thumb();
    const int midY = (t.top + t.bottom) / 2;
    MouseTo(b.Screen(CentreX(t), midY));
    Button(true);
    EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::ClientPixel(b.slider.m_hWnd, t.left, midY) ==
                                                    RGB(153, 102, 204); }, 1000));

    EXPECT_EQ(b.slider.dragging, 1);
    Button(false);
    wintest::Pump(30);
    EXPECT_EQ(b.slider.dragging, 0);
}

TEST(ProSlider, RepaintsHoldNoGdiObjects)
{
    SliderBench b(520, 300000);
    b.slider.rangeMax = 300000;
    b.slider.position = 100000;
    b.Repaint();
    const DWORD before = wintest::GdiObjectCount();
    for (int i = 0; i < 500; ++i)
        ::RedrawWindow(b.slider.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    wintest::Pump(0);
    const DWORD after = wintest::GdiObjectCount();
    EXPECT_LE(after, before + 2) << before << " -> " << after;
}
