#include "ExStatic.h"

#include "AppSettings.h"
#include "Dialog.h"
#include "GResource.h"
#include "GdiplusSession.h"
#include "LanguageHolder.h"
#include "VideoStatic.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

namespace {

class Host : public CDialog {
public:
    Host() : CDialog(300) {}
};

class Pane : public CDialog, public CVideoChannelSource {
public:
    Pane() : CDialog(300) {}
    int channel = 2;
    int VideoChannelIndex() const override { return channel; }
};

void Pump()
{
    wintest::Pump(0);
}

COLORREF PixelOf(HWND w, int x, int y)
{
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    HDC dc = GetDC(w);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

// Some pixel of the hover icon's yellow ring shows in the top-left corner.
bool ShowsHoverRing(HWND w)
{
    PixelOf(w, 0, 0);
    HDC dc = GetDC(w);
    int hits = 0;
    for (int y = 0; y < 24; ++y)  // where the 24-pixel split image covers it
        for (int x = 0; x < 24; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            hits += GetRValue(c) > 0xE0 && GetGValue(c) > 0xB0 && GetBValue(c) < 0x80;
        }
    ReleaseDC(w, dc);
    return hits > 0;
}

}  // namespace

TEST(ExStatic, ImageSlotsAreFreedWhenResized)
{
    CGdiplusSession gdiplus;
    CExStatic s;
    EXPECT_EQ(s.imageCount, 2u);
    s.ReloadJpgResource(226, GetModuleHandleW(nullptr));
    ASSERT_NE(s.images[0], nullptr);
    EXPECT_NE(s.images[0]->bitmap, nullptr);
    s.SetImageCount(3);
    EXPECT_EQ(s.imageCount, 3u);
    for (unsigned i = 0; i < 3; ++i)
        EXPECT_EQ(s.images[i], nullptr);
    s.SetImageCount(0);
    EXPECT_EQ(s.images, nullptr);
    s.SetImageCount(0);  // nothing to free
    EXPECT_EQ(s.imageCount, 0u);
    s.ReloadJpgResource(226, GetModuleHandleW(nullptr));  // no slots: nothing happens
    EXPECT_EQ(s.images, nullptr);
}

TEST(ExStatic, TextModeColoursHoverWinsOverSelected)
{
    CExStatic s;
    s.TextModePreset(243);
    struct Case {
        int hover, selected;
        COLORREF text, back;
    } cases[] = {
        {0, 0, RGB(200, 200, 200), RGB(0, 128, 255)},
        {0, 1, RGB(0, 0, 255), RGB(113, 111, 100)},
        {1, 1, RGB(255, 255, 0), RGB(0, 128, 255)},
        {1, 0, RGB(255, 255, 0), RGB(0, 128, 255)},
    };
    for (const Case& c : cases) {
        s.hover = c.hover;
        s.selected = c.selected;
        TextColours t = ChooseTextColours(s);
        EXPECT_EQ(t.text, c.text);
        EXPECT_EQ(t.back, c.back);
    }
}

TEST(ExStatic, AttachedLabelTakesItsCaptionAndPaintsIt)
{
    CGdiplusSession gdiplus;
    LanguageHolder lang;
    g_Settings.language = &lang;
    Host host;
    ASSERT_TRUE(host.Create(nullptr));
    CExStatic text, image;
    text.TextModePreset(243);
    ASSERT_TRUE(text.SubclassDlgItem(10, &host));
    EXPECT_EQ(CString::WindowText(text.m_hWnd), L"播放");
    // Clicks are reported; the static keeps its type (left-aligned text).
    LONG style = GetWindowLongW(text.m_hWnd, GWL_STYLE);
    EXPECT_TRUE(style & SS_NOTIFY);
    EXPECT_EQ(style & SS_TYPEMASK, SS_LEFT);
    EXPECT_EQ(PixelOf(text.m_hWnd, 1, 1), RGB(0, 128, 255));
    text.selected = 1;
    EXPECT_EQ(PixelOf(text.m_hWnd, 1, 1), RGB(113, 111, 100));

    image.ReloadJpgResource(226, GetModuleHandleW(nullptr));
    ASSERT_TRUE(image.SubclassDlgItem(11, &host));
    // The split image: a light cell on a dark tile.
    EXPECT_EQ(PixelOf(image.m_hWnd, 0, 0), RGB(0x30, 0x34, 0x38));
    EXPECT_EQ(PixelOf(image.m_hWnd, 10, 10), RGB(0x5a, 0xa0, 0xe0));
    // Images go with the window.
    image.DestroyWindow();
    EXPECT_EQ(image.imageCount, 0u);
    host.DestroyWindow();
    g_Settings.language = nullptr;
}

TEST(VideoStatic, DarkFieldWithTheChannelAtTheTop)
{
    EXPECT_EQ(VideoCaption(0), L"CAM1");
    EXPECT_EQ(VideoCaption(7), L"CAM8");
    struct Case {
        int bk;
        COLORREF fill;
    } cases[] = {{0, RGB(88, 92, 95)}, {1, RGB(0, 0, 0)}, {2, RGB(88, 92, 95)}};
    Pane pane;
    ASSERT_TRUE(pane.Create(nullptr));
    CVideoStatic v;
    ASSERT_TRUE(v.SubclassDlgItem(11, &pane));
    for (const Case& c : cases) {
        g_Settings.bkColor = c.bk;
        EXPECT_EQ(VideoBackground(c.bk), c.fill);
        RECT rc = v.GetClientRect();
        EXPECT_EQ(PixelOf(v.m_hWnd, rc.right / 2, rc.bottom - 2), c.fill) << c.bk;
    }
    // The caption is drawn at the top, not in the middle: some white pixel
    // in the top rows, none in the lowest ones.
    PixelOf(v.m_hWnd, 0, 0);
    HDC dc = GetDC(v.m_hWnd);
    RECT rc = v.GetClientRect();
    int whiteTop = 0, whiteBottom = 0;
    for (int x = 0; x < rc.right; ++x) {
        for (int y = 0; y < 14; ++y)
            whiteTop += GetPixel(dc, x, y) == RGB(255, 255, 255);
        for (int y = rc.bottom - 8; y < rc.bottom; ++y)
            whiteBottom += GetPixel(dc, x, y) == RGB(255, 255, 255);
    }
    ReleaseDC(v.m_hWnd, dc);
    EXPECT_GT(whiteTop, 0);
    EXPECT_EQ(whiteBottom, 0);
    g_Settings.bkColor = 0;
    Pump();
    pane.DestroyWindow();
}

TEST(ExStatic, HoverFollowsTheMouseExceptInModeTwo)
{
    Host host;
    ASSERT_TRUE(host.Create(nullptr));
    struct Case {
        int mode;
        int hoverAfterEnter;
    } cases[] = {{0, 1}, {1, 1}, {2, 0}};
    for (const Case& c : cases) {
        CExStatic s;
        s.mode = c.mode;
        ASSERT_TRUE(s.SubclassDlgItem(10, &host));
        SendMessageW(s.m_hWnd, WM_MOUSEHOVER, 0, 0);
        EXPECT_EQ(s.hover, c.hoverAfterEnter) << c.mode;
        SendMessageW(s.m_hWnd, WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(s.hover, 0) << c.mode;
        s.UnsubclassWindow();
    }
    host.DestroyWindow();
}

TEST(ExStatic, HoveredImageLabelShowsTheHoverIconOnlyWithTwoSlots)
{
    CGdiplusSession gdiplus;
    Host host;
    ASSERT_TRUE(host.Create(nullptr));
    CExStatic two;
    two.ReloadJpgResource(226, GetModuleHandleW(nullptr));
    ASSERT_TRUE(two.SubclassDlgItem(10, &host));
    two.hover = 1;
    EXPECT_TRUE(ShowsHoverRing(two.m_hWnd));
    two.hover = 0;
    EXPECT_FALSE(ShowsHoverRing(two.m_hWnd));
    EXPECT_EQ(PixelOf(two.m_hWnd, 12, 12), RGB(0x5a, 0xa0, 0xe0));

    CExStatic one;
    one.SetImageCount(1);
    one.ReloadJpgResource(226, GetModuleHandleW(nullptr));
    ASSERT_TRUE(one.SubclassDlgItem(11, &host));
    one.hover = 1;
    EXPECT_FALSE(ShowsHoverRing(one.m_hWnd));
    EXPECT_NE(PixelOf(one.m_hWnd, 12, 12), RGB(0x5a, 0xa0, 0xe0));
    host.DestroyWindow();
}
