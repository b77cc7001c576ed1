#include "ImageButton.h"

#include "Dialog.h"
#include "WindowTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

const COLORREF kKey = 0x0000FF;  // pure red, the panels' transparent colour
const COLORREF kInk = RGB(0, 0, 200);
const COLORREF kGreen = RGB(0, 160, 0);

// A 16 x 16 image: red (keyed out) around a blue square with a green dot.
HBITMAP MakeImage()
{
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, 16, 16);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, b);
    CDC dc(mem);
    dc.FillSolidRect(0, 0, 16, 16, kKey);
    dc.FillSolidRect(4, 4, 8, 8, kInk);
    dc.FillSolidRect(7, 7, 2, 2, kGreen);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return b;
}

COLORREF BitmapPixel(HBITMAP b, int x, int y)
{
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, b);
    COLORREF c = GetPixel(mem, x, y);
    SelectObject(mem, old);
    DeleteDC(mem);
    return c;
}

class Panel : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    Panel() : CDialog(600) {}
    struct Note {
        UINT id, code;
    };
    std::vector<Note> notes;
    int Count(UINT id, UINT code) const
    {
        int n = 0;
        for (const Note& x : notes)
            n += x.id == id && x.code == code;
        return n;
    }

private:
    void OnCommand(Message& m)
    {
        notes.push_back({m.CommandId(), m.CommandCode()});
        m.handled = false;
    }
};

BEGIN_MESSAGE_TABLE(Panel, CDialog)
    OnMessage<&Panel::OnCommand>(WM_COMMAND),
END_MESSAGE_TABLE()

// One panel for all the window tests (a top-level window takes Wine two
// seconds to go away); each test makes its own buttons in it.
class ButtonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        panel = new Panel;
        if (panel->Create(nullptr)) {
            SetWindowPos(panel->m_hWnd, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
            SetForegroundWindow(panel->m_hWnd);
        }
        // Captions in exact colours, without smoothing.
        font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                           L"Tahoma");
    }
    static void TearDownTestSuite()
    {
        delete panel;
        panel = nullptr;
        DeleteObject(font);
    }
    void SetUp() override
    {
        ASSERT_NE(panel->m_hWnd, nullptr);
        panel->notes.clear();
        ASSERT_TRUE(Make(button, BS_PUSHBUTTON, 602, 10));
    }
    // A dialog button of style, id, at x in the panel's first row, attached.
    static bool Make(CImageButton& b, DWORD style, int id, int x, const wchar_t* text = L"", int width = 30)
    {
        HWND h = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, 10, width, 30,
                                 panel->m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return h && b.SubclassWindow(h);
    }
    static HWND MakeEdit(int x)
    {
        return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, 50, 40, 20,
                               panel->m_hWnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    void Repaint(HWND w)
    {
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        wintest::Pump(30);
    }
    SIZE Size(HWND w)
    {
        RECT r;
        GetClientRect(w, &r);
        return {r.right, r.bottom};
    }
    // Where the 16 x 16 image sits in a button without a caption.
    POINT ImageAt(HWND w)
    {
        SIZE s = Size(w);
        return {(s.cx - 16) / 2, (s.cy - 16) / 2};
    }
    void Click(HWND w, bool dbl = false)
    {
        SIZE s = Size(w);
        LPARAM at = MAKELPARAM(s.cx / 2, s.cy / 2);
        PostMessageW(w, dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(w, WM_LBUTTONUP, 0, at);
        wintest::Pump(30);
    }
    void MoveMouseOnto(HWND w)
    {
        SIZE s = Size(w);
        POINT p = {s.cx / 2, s.cy / 2};
        ClientToScreen(w, &p);
        SetCursorPos(p.x, p.y);
        SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(s.cx / 2, s.cy / 2));
        wintest::Pump(30);
    }

    static Panel* panel;
    static HFONT font;
    CImageButton button;
};

Panel* ButtonTest::panel = nullptr;
HFONT ButtonTest::font = nullptr;

}  // namespace

TEST(ImageButtonRules, CheckBoxesAreTheFourCheckBoxTypes)
{
    // Bit 0x2 alone would also take owner-drawn (0xB), group boxes (7) and
    // push boxes (0xA), and miss three-state boxes (5).
    for (unsigned type = 0; type < 16; ++type) {
        bool expected = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
        EXPECT_EQ(IsCheckBoxType(type), expected) << type;
        EXPECT_EQ(IsCheckBoxType(type | WS_TABSTOP | BS_NOTIFY), expected) << type;
    }
}

TEST(ImageButtonRules, ImagePlacement)
{
    struct Case {
        bool caption, shift;
        RECT image;
        LONG captionLeft;
    } cases[] = {
        {false, false, {12, 7, 40, 30}, 0},  // centred: (40 - 16) / 2, (30 - 16) / 2
        {false, true, {13, 8, 41, 31}, 0},
        {true, false, {3, 7, 40, 30}, 19},  // origin 3; the caption starts past the image
        {true, true, {4, 8, 41, 31}, 19},
    };
    for (const Case& c : cases) {
        RECT item = {0, 0, 40, 30}, caption = item;
        RECT r = PlaceButtonImage(item, &caption, {16, 16}, c.caption, {3, 3}, {1, 1}, c.shift);
        EXPECT_EQ(r.left, c.image.left);
        EXPECT_EQ(r.top, c.image.top);
        EXPECT_EQ(caption.left, c.captionLeft);
    }
    // Odd gaps round down.
    RECT item = {0, 0, 21, 21};
    EXPECT_EQ(PlaceButtonImage(item, nullptr, {16, 16}, false, {3, 3}, {1, 1}, false).left, 2);
}

TEST(ImageButtonRules, OffsetFirstColorStopsAtAFullChannel)
{
    struct Case {
        COLORREF before, after;
    } cases[] = {
        {RGB(10, 20, 30), RGB(11, 21, 31)},
        {RGB(254, 254, 254), RGB(255, 255, 255)},
        {RGB(255, 0, 0), RGB(255, 0, 0)},
        {RGB(0, 0, 255), RGB(0, 0, 255)},
    };
    for (const Case& c : cases) {
        CImageButton b;
        b.backIn = c.before;
        b.OffsetFirstColor();
        EXPECT_EQ(b.backIn, c.after);
    }
}

TEST(ImageButtonRules, SetBitmapKeysTheBitmapAndKeepsAHandleItHolds)
{
    CImageButton b;
    HBITMAP image = MakeImage();
    ASSERT_EQ(b.SetBitmap(image, kKey), 0);
    EXPECT_EQ(b.bitmaps[0].width, 16);
    EXPECT_EQ(b.bitmaps[0].height, 16);
    ASSERT_NE(b.bitmaps[0].mask, nullptr);
    // The keyed pixels of the caller's bitmap are black now.
    EXPECT_EQ(BitmapPixel(image, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(BitmapPixel(image, 5, 5), kInk);
    // The mask: 1 (white) where the key was.
    EXPECT_EQ(BitmapPixel(b.bitmaps[0].mask, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(BitmapPixel(b.bitmaps[0].mask, 5, 5), RGB(0, 0, 0));

    // The same handle again: still the button's, still whole.
    HBITMAP mask = b.bitmaps[0].mask;
    EXPECT_EQ(b.SetBitmap(image, kKey), 0);
    BITMAP bm = {};
    EXPECT_NE(GetObjectW(image, sizeof bm, &bm), 0);
    EXPECT_EQ(b.bitmaps[0].bitmap, image);
    EXPECT_EQ(b.bitmaps[0].mask, mask);
    EXPECT_EQ(BitmapPixel(mask, 0, 0), RGB(255, 255, 255));

    // Null removes the image (and frees it).
    EXPECT_EQ(b.SetBitmap(nullptr, kKey), 0);
    EXPECT_EQ(b.bitmaps[0].bitmap, nullptr);
    EXPECT_EQ(b.bitmaps[0].mask, nullptr);
    EXPECT_EQ(GetObjectW(image, sizeof bm, &bm), 0);

    // A handle that is no bitmap: 1 and no image.
    HBITMAP gone = MakeImage();
    DeleteObject(gone);
    EXPECT_EQ(b.SetBitmap(gone, kKey), 1);
    EXPECT_EQ(b.bitmaps[0].bitmap, nullptr);
}

TEST_F(ButtonTest, AttachingMakesAnOwnerDrawnButtonOfEachType)
{
    CImageButton check, three, def;
    ASSERT_TRUE(Make(check, BS_AUTOCHECKBOX, 603, 50));
    ASSERT_TRUE(Make(three, BS_3STATE, 606, 90));
    ASSERT_TRUE(Make(def, BS_DEFPUSHBUTTON, 605, 130, L"Play", 60));
    struct Case {
        CImageButton* b;
        int type, isCheckBox, isDefault;
    } cases[] = {
        {&button, BS_PUSHBUTTON, 0, 0},
        {&check, BS_AUTOCHECKBOX, 1, 0},
        {&three, BS_3STATE, 1, 0},
        {&def, BS_PUSHBUTTON, 0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.b->buttonType, c.type);
        EXPECT_EQ(c.b->isCheckBox, c.isCheckBox) << c.type;
        EXPECT_EQ(c.b->isDefault, c.isDefault) << c.type;
        EXPECT_EQ(GetWindowLongW(c.b->m_hWnd, GWL_STYLE) & 0xF, BS_OWNERDRAW);
    }
    EXPECT_TRUE(SendMessageW(def.m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(SendMessageW(button.m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);
    // The dialog manager moves the default: the type stays owner-drawn.
    SendMessageW(def.m_hWnd, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(def.isDefault, 0);
    EXPECT_EQ(GetWindowLongW(def.m_hWnd, GWL_STYLE) & 0xF, BS_OWNERDRAW);
    SendMessageW(button.m_hWnd, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(button.isDefault, 1);
    EXPECT_EQ(GetWindowLongW(button.m_hWnd, GWL_STYLE) & 0xF, BS_OWNERDRAW);
}

TEST_F(ButtonTest, KeyedPixelsShowTheButtonFace)
{
    ASSERT_EQ(button.SetBitmap(MakeImage(), kKey), 0);
    Repaint(button.m_hWnd);
    POINT at = ImageAt(button.m_hWnd);
    wintest::ScreenCapture shot(button.m_hWnd);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(shot.Pixel(at.x + 1, at.y + 1), face);  // keyed
    EXPECT_EQ(shot.Pixel(at.x + 5, at.y + 5), kInk);
    EXPECT_EQ(shot.Pixel(at.x + 7, at.y + 7), kGreen);
    EXPECT_EQ(shot.Pixel(1, 1), face);  // flat: no frame
    EXPECT_EQ(shot.CountColour(0, 0, shot.Width(), shot.Height(), kKey), 0);
}

TEST_F(ButtonTest, ImageKeepsItsColoursWhateverTheDeviceContextsColours)
{
    ASSERT_EQ(button.SetBitmap(MakeImage(), kKey), 0);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 30, 30);
    HGDIOBJ old = SelectObject(mem, target);
    // Colours a caller may have left in the device context.
    SetTextColor(mem, RGB(0, 255, 0));
    SetBkColor(mem, RGB(90, 90, 90));
    DRAWITEMSTRUCT di = {};
    di.CtlType = ODT_BUTTON;
    di.hwndItem = button.m_hWnd;
    di.hDC = mem;
    di.rcItem = {0, 0, 30, 30};
    button.backOut = RGB(250, 240, 230);
    button.DrawItem(&di);
    EXPECT_EQ(GetPixel(mem, 7 + 1, 7 + 1), RGB(250, 240, 230));  // keyed
    EXPECT_EQ(GetPixel(mem, 7 + 5, 7 + 5), kInk);
    EXPECT_EQ(GetPixel(mem, 7 + 7, 7 + 7), kGreen);
    SelectObject(mem, old);
    DeleteObject(target);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

TEST_F(ButtonTest, HoverRaisesAFrameThatLeavingTakesAway)
{
    ASSERT_EQ(button.SetBitmap(MakeImage(), kKey), 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    SIZE s = Size(button.m_hWnd);

    // Pressed outside and dragged in: no light.
    POINT p = {s.cx / 2, s.cy / 2};
    ClientToScreen(button.m_hWnd, &p);
    SetCursorPos(p.x, p.y);
    SendMessageW(button.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(s.cx / 2, s.cy / 2));
    EXPECT_EQ(button.hover, 0);

    MoveMouseOnto(button.m_hWnd);
    EXPECT_EQ(button.hover, 1);
    Repaint(button.m_hWnd);
    wintest::ScreenCapture lit(button.m_hWnd);
    EXPECT_EQ(lit.Pixel(0, 0), light);
    EXPECT_EQ(lit.Pixel(s.cx - 2, 0), light);
    EXPECT_EQ(lit.Pixel(s.cx - 1, s.cy - 1), shadow);
    EXPECT_EQ(lit.Pixel(0, s.cy - 1), shadow);

    SendMessageW(button.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button.hover, 0);
    Repaint(button.m_hWnd);
    EXPECT_EQ(wintest::ClientPixel(button.m_hWnd, 0, 0), face);

    // Losing the focus or being cancelled also ends the light.
    MoveMouseOnto(button.m_hWnd);
    ASSERT_EQ(button.hover, 1);
    SendMessageW(button.m_hWnd, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(button.hover, 0);
    SetCursorPos(0, 0);
}

TEST_F(ButtonTest, CheckBoxTogglesOnEachClickAndShowsSunken)
{
    CImageButton check;
    ASSERT_TRUE(Make(check, BS_AUTOCHECKBOX, 603, 50));
    ASSERT_EQ(check.SetBitmap(MakeImage(), kKey), 0);
    SetCursorPos(0, 0);
    Click(check.m_hWnd);
    EXPECT_EQ(check.checkState, 1);
    EXPECT_EQ(SendMessageW(check.m_hWnd, BM_GETCHECK, 0, 0), 1);
    EXPECT_EQ(panel->Count(603, BN_CLICKED), 1);  // the parent hears it too
    Repaint(check.m_hWnd);
    SIZE s = Size(check.m_hWnd);
    wintest::ScreenCapture down(check.m_hWnd);
    EXPECT_EQ(down.Pixel(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(down.Pixel(s.cx - 1, s.cy - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    // A checked check box does not shift its image.
    POINT at = ImageAt(check.m_hWnd);
    EXPECT_EQ(down.Pixel(at.x + 4, at.y + 4), kInk);
    EXPECT_NE(down.Pixel(at.x + 3, at.y + 3), kInk);

    Click(check.m_hWnd);
    EXPECT_EQ(check.checkState, 0);
    Repaint(check.m_hWnd);
    EXPECT_EQ(wintest::ClientPixel(check.m_hWnd, 0, 0), GetSysColor(COLOR_BTNFACE));

    struct Case {
        WPARAM set;
        int state;
    } cases[] = {{BST_CHECKED, 1}, {BST_UNCHECKED, 0}, {BST_INDETERMINATE, 1}};
    for (const Case& c : cases) {
        SendMessageW(check.m_hWnd, BM_SETCHECK, c.set, 0);
        EXPECT_EQ(SendMessageW(check.m_hWnd, BM_GETCHECK, 0, 0), c.state);
    }
    // A push button keeps no check.
    SendMessageW(button.m_hWnd, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(button.checkState, 0);
}

TEST_F(ButtonTest, DoubleClickCountsAsTwoClicks)
{
    SetCursorPos(0, 0);
    Click(button.m_hWnd);
    Click(button.m_hWnd, true);
    EXPECT_EQ(panel->Count(602, BN_CLICKED), 2);
    EXPECT_EQ(panel->Count(602, BN_DOUBLECLICKED), 0);
    EXPECT_EQ(GetFocus(), button.m_hWnd);  // a click takes the focus
}

TEST_F(ButtonTest, DisabledImageIsEmbossed)
{
    ASSERT_EQ(button.SetBitmap(MakeImage(), kKey), 0);
    EnableWindow(button.m_hWnd, FALSE);
    Repaint(button.m_hWnd);
    POINT at = ImageAt(button.m_hWnd);
    wintest::ScreenCapture shot(button.m_hWnd);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    // The square in the shadow colour, its lit edge one pixel down and right.
    EXPECT_EQ(shot.Pixel(at.x + 5, at.y + 5), shadow);
    EXPECT_EQ(shot.Pixel(at.x + 12, at.y + 8), light);
    EXPECT_EQ(shot.Pixel(at.x + 8, at.y + 12), light);
    EXPECT_EQ(shot.Pixel(at.x + 1, at.y + 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(shot.CountColour(0, 0, shot.Width(), shot.Height(), kInk), 0);
    EXPECT_EQ(shot.CountColour(0, 0, shot.Width(), shot.Height(), kGreen), 0);

    // Without the embossing the image keeps its colours.
    button.showDisabledBitmap = 0;
    Repaint(button.m_hWnd);
    EXPECT_EQ(wintest::ClientPixel(button.m_hWnd, at.x + 5, at.y + 5), kInk);
}

TEST_F(ButtonTest, DisabledCaptionIsEngraved)
{
    CImageButton play;
    ASSERT_TRUE(Make(play, BS_PUSHBUTTON, 605, 130, L"Play", 60));
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    Repaint(play.m_hWnd);
    wintest::ScreenCapture enabled(play.m_hWnd);
    EXPECT_GT(enabled.CountColour(0, 0, enabled.Width(), enabled.Height(), GetSysColor(COLOR_BTNTEXT)), 10);
    EnableWindow(play.m_hWnd, FALSE);
    Repaint(play.m_hWnd);
    wintest::ScreenCapture shot(play.m_hWnd);
    int lit = shot.CountColour(0, 0, shot.Width(), shot.Height(), light);
    int dark = shot.CountColour(0, 0, shot.Width(), shot.Height(), shadow);
    EXPECT_GT(lit, 10);
    EXPECT_GT(dark, 10);
    EXPECT_EQ(shot.CountColour(0, 0, shot.Width(), shot.Height(), GetSysColor(COLOR_BTNTEXT)), 0);
}

TEST_F(ButtonTest, DisablingMovesTheFocusOnlyFromTheButton)
{
    // Tab order: first, the button, check, after.
    HWND first = MakeEdit(10);
    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    CImageButton check;
    ASSERT_TRUE(Make(check, BS_AUTOCHECKBOX, 603, 50));
    HWND after = MakeEdit(60);
    SetFocus(first);
    EnableWindow(button.m_hWnd, FALSE);
    EXPECT_EQ(GetFocus(), first);
    EnableWindow(button.m_hWnd, TRUE);

    // The button with the focus hands it to the next tab stop.
    SetFocus(check.m_hWnd);
    ASSERT_EQ(GetFocus(), check.m_hWnd);
    EnableWindow(check.m_hWnd, FALSE);
    EXPECT_EQ(GetFocus(), after);
    DestroyWindow(first);
    DestroyWindow(after);
}

TEST_F(ButtonTest, HintTextIsTheToolTipsText)
{
    EXPECT_EQ(button.tooltip.m_hWnd, nullptr);
    button.SetHintText(nullptr);
    EXPECT_EQ(button.tooltip.m_hWnd, nullptr);
    button.SetHintText(L"播放");
    ASSERT_NE(button.tooltip.m_hWnd, nullptr);
    EXPECT_EQ(button.tooltip.ToolCount(), 1);
    EXPECT_EQ(button.tooltip.GetText(button.m_hWnd), L"播放");
    button.SetHintText(L"Stop");
    EXPECT_EQ(button.tooltip.ToolCount(), 1);
    EXPECT_EQ(button.tooltip.GetText(button.m_hWnd), L"Stop");
    EXPECT_EQ(SendMessageW(button.tooltip.m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0), 400);
}

TEST_F(ButtonTest, RepaintsHoldNoGdiObjects)
{
    CImageButton check, play;
    ASSERT_TRUE(Make(check, BS_AUTOCHECKBOX, 603, 50));
    ASSERT_TRUE(Make(play, BS_PUSHBUTTON, 605, 130, L"Play", 60));
    ASSERT_EQ(button.SetBitmap(MakeImage(), kKey), 0);
    ASSERT_EQ(check.SetBitmap(MakeImage(), kKey), 0);
    ASSERT_EQ(play.SetBitmap(MakeImage(), kKey), 0);
    play.flat = 0;
    SendMessageW(check.m_hWnd, BM_SETCHECK, BST_CHECKED, 0);
    Repaint(panel->m_hWnd);
    DWORD before = wintest::GdiObjectCount();
    for (int i = 0; i < 500; ++i) {
        button.hover = i % 2;
        EnableWindow(play.m_hWnd, i % 3 != 0);
        for (HWND w : {button.m_hWnd, check.m_hWnd, play.m_hWnd})
            RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    }
    wintest::Pump(20);
    EXPECT_EQ(wintest::GdiObjectCount(), before);
}
