// The image button and its drop-down menu as a user sees them: a window
// with the button in each of its states, and the menu open below a button
// in the classic and the flat style. Each is saved as a screenshot
// (screenshots/*.bmp beside the test) and checked pixel by pixel.
#include "ImageButton.h"

#include "Dialog.h"
#include "WindowTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const COLORREF kKey = 0x0000FF;
const UINT kPlayMenu = 700;
const UINT kExit = 708, kRecent = 702, kSinglePane = 703, kFourPanes = 704;

class Host : public CDialog {
    DECLARE_MESSAGE_TABLE()

public:
    Host() : CDialog(600) {}
    std::vector<UINT> commands;

private:
    void OnCommand(Message& m)
    {
        if (m.Control() == nullptr)
            commands.push_back(m.CommandId());
        m.handled = false;
    }
};

BEGIN_MESSAGE_TABLE(Host, CDialog)
    OnMessage<&Host::OnCommand>(WM_COMMAND),
END_MESSAGE_TABLE()

// Images of the panels' kind, 20 x 20 on the red key.
enum class Picture { Play, Pause, Stop, Snapshot };
HBITMAP MakePicture(Picture p)
{
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, 20, 20);
    HDC mem = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, b);
    CDC dc(mem);
    dc.FillSolidRect(0, 0, 20, 20, kKey);
    HBRUSH brush = CreateSolidBrush(RGB(40, 150, 60));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(20, 90, 40));
    HGDIOBJ oldBrush = SelectObject(mem, brush), oldPen = SelectObject(mem, pen);
    switch (p) {
    case Picture::Play: {
        POINT tri[3] = {{5, 3}, {16, 10}, {5, 17}};
        Polygon(mem, tri, 3);
        break;
    }
    case Picture::Pause:
        dc.FillSolidRect(5, 4, 4, 12, RGB(40, 90, 170));
        dc.FillSolidRect(11, 4, 4, 12, RGB(40, 90, 170));
        break;
    case Picture::Stop:
        dc.FillSolidRect(5, 5, 10, 10, RGB(170, 40, 40));
        break;
    case Picture::Snapshot:
        dc.FillSolidRect(3, 6, 14, 10, RGB(60, 60, 70));
        dc.FillSolidRect(7, 4, 5, 2, RGB(60, 60, 70));
        Ellipse(mem, 7, 8, 13, 14);
        break;
    }
    SelectObject(mem, oldBrush);
    SelectObject(mem, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    SelectObject(mem, old);
    DeleteDC(mem);
    return b;
}

std::string ScreenshotPath(const char* name)
{
    CreateDirectoryW(L"screenshots", nullptr);
    return std::string("screenshots\\") + name;
}

// What the timer saw while the menu was open.
struct MenuGrab {
    HWND button = nullptr;
    HMENU popup = nullptr;
    RECT menuRect = {};
    std::vector<RECT> items;  // screen rectangles of the popup's items
    std::unique_ptr<wintest::ScreenCapture> shot;
    RECT shotRect = {};       // screen rectangle of shot
    WPARAM key = 0;           // typed once the menu is seen
};
MenuGrab g_grab;

void CALLBACK GrabOpenMenu(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    HWND menuWindow = FindWindowW(L"#32768", nullptr);
    if (menuWindow && IsWindowVisible(menuWindow)) {
        GetWindowRect(menuWindow, &g_grab.menuRect);
        for (int i = 0; i < GetMenuItemCount(g_grab.popup); ++i) {
            RECT r = {};
            GetMenuItemRect(g_grab.button, g_grab.popup, i, &r);
            g_grab.items.push_back(r);
        }
        // Wine places a popup's item rectangles a caption's height too high;
        // the frame is as wide at the top as at the left.
        if (!g_grab.items.empty()) {
            const LONG shift = g_grab.menuRect.top + (g_grab.items[0].left - g_grab.menuRect.left) - g_grab.items[0].top;
            for (RECT& r : g_grab.items)
                OffsetRect(&r, 0, shift);
        }
        RECT area;
        UnionRect(&area, &g_grab.shotRect, &g_grab.menuRect);
        InflateRect(&area, 8, 8);
        g_grab.shotRect = area;
        g_grab.shot = std::make_unique<wintest::ScreenCapture>(area.left, area.top, area.right - area.left,
                                                               area.bottom - area.top);
    }
    // A typed letter: the menu asks its owner, which answers with the item.
    PostMessageW(hwnd, WM_CHAR, g_grab.key, 0);
}

void CALLBACK PressEscape(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
}

class DropDownMenu : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        host = new Host;
        if (host->Create(nullptr)) {
            SetWindowPos(host->m_hWnd, HWND_TOP, 60, 60, 0, 0, SWP_NOSIZE);
            SetForegroundWindow(host->m_hWnd);
        }
        font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                           L"Tahoma");
    }
    static void TearDownTestSuite()
    {
        delete host;
        host = nullptr;
        DeleteObject(font);
    }
    void SetUp() override
    {
        ASSERT_NE(host->m_hWnd, nullptr);
        host->commands.clear();
        savedVersion = COwnerMenu::WindowsVersion;
        SetCursorPos(0, 0);
    }
    void TearDown() override
    {
        COwnerMenu::WindowsVersion = savedVersion;
        COwnerMenu::ClassicThemeProbed = false;
    }
    static void UseStyle(bool flat)
    {
        COwnerMenu::WindowsVersion = flat ? 7 : 1;
        COwnerMenu::ClassicThemeProbed = true;
        COwnerMenu::ClassicThemeResult = flat ? FALSE : TRUE;
    }
    // A button of style at (x, y) in the host, attached, with a picture.
    static bool Make(CImageButton& b, DWORD style, int id, int x, int y, Picture p, const wchar_t* text = L"",
                     int width = 34)
    {
        HWND h = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, width, 30,
                                 host->m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return h && b.SubclassWindow(h) && b.SetBitmap(MakePicture(p), kKey) == 0;
    }
    static HWND Label(const wchar_t* text, int x, int y)
    {
        HWND h = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTER, x - 12, y, 70, 16,
                                 host->m_hWnd, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return h;
    }
    // Clicks b, which opens its menu; the timer grabs the open menu and
    // types key. The menu's command, as its owner got it, or 0.
    UINT OpenAndType(CImageButton& b, WPARAM key)
    {
        g_grab = MenuGrab();
        g_grab.button = b.m_hWnd;
        g_grab.popup = GetSubMenu(b.menu.GetSafeHmenu(), 0);
        g_grab.key = key;
        GetWindowRect(host->m_hWnd, &g_grab.shotRect);
        SetTimer(b.m_hWnd, 77, 400, GrabOpenMenu);
        // A menu that ignored the letter is closed in the end, so that a
        // failure does not hang the test.
        SetTimer(b.m_hWnd, 79, 3000, PressEscape);
        RECT r;
        GetClientRect(b.m_hWnd, &r);
        LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
        PostMessageW(b.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(b.m_hWnd, WM_LBUTTONUP, 0, at);
        wintest::PumpUntil([] { return g_grab.shot != nullptr && !FindWindowW(L"#32768", nullptr); }, 5000);
        KillTimer(b.m_hWnd, 79);
        wintest::Pump(50);
        return host->commands.empty() ? 0 : host->commands.back();
    }
    // Pixels of the grabbed screen within an item (screen rectangle r,
    // inset by inset) for which match holds.
    static int CountInItem(const RECT& r, int x0, int x1, const std::function<bool(COLORREF)>& match)
    {
        const RECT& s = g_grab.shotRect;
        return g_grab.shot->Count(r.left - s.left + x0, r.top - s.top, r.left - s.left + x1, r.bottom - s.top, match);
    }
    static COLORREF ItemPixel(const RECT& r, int x, int y)
    {
        return g_grab.shot->Pixel(r.left - g_grab.shotRect.left + x, r.top - g_grab.shotRect.top + y);
    }
    // Text in the menu text colour (smoothed: its core pixels are darker
    // than any pixel of grayed text).
    static bool Dark(COLORREF c) { return GetRValue(c) < 150 && GetGValue(c) < 150 && GetBValue(c) < 150; }
    // Any text on the light menu.
    static bool Inked(COLORREF c) { return GetRValue(c) < 210 && GetGValue(c) < 210 && GetBValue(c) < 210; }

    static Host* host;
    static HFONT font;
    int savedVersion = 1;
};

Host* DropDownMenu::host = nullptr;
HFONT DropDownMenu::font = nullptr;

}  // namespace

TEST_F(DropDownMenu, OpensBelowTheButtonAndATypedLetterChoosesItsCommand)
{
    const COLORREF ink = GetSysColor(COLOR_MENUTEXT), highlight = GetSysColor(COLOR_HIGHLIGHT);
    struct Style {
        bool flat;
        const char* file;
        WPARAM key;
        UINT command;
    } styles[] = {
        {false, "menu-classic.bmp", 'x', kExit},
        {true, "menu-flat.bmp", 'R', kRecent},
    };
    HBITMAP bullet = CreateBitmap(13, 13, 1, 1, nullptr);
    for (const Style& style : styles) {
        UseStyle(style.flat);
        CImageButton b;
        ASSERT_TRUE(Make(b, BS_PUSHBUTTON, 610, 10, 10, Picture::Play));
        ASSERT_TRUE(b.menu.LoadMenu(kPlayMenu));
        b.menuOwner = host->m_hWnd;
        HMENU popup = GetSubMenu(b.menu.GetSafeHmenu(), 0);
        // The pane choices as radio items: a checked-state bitmap of their own.
        SetMenuItemBitmaps(popup, kSinglePane, MF_BYCOMMAND, nullptr, bullet);
        SetMenuItemBitmaps(popup, kFourPanes, MF_BYCOMMAND, nullptr, bullet);
        CheckMenuItem(popup, kSinglePane, MF_BYCOMMAND | MF_CHECKED);

        EXPECT_EQ(OpenAndType(b, style.key), style.command) << style.file;
        ASSERT_NE(g_grab.shot, nullptr) << style.file;
        EXPECT_TRUE(g_grab.shot->SaveBmp(ScreenshotPath(style.file)));
        EXPECT_EQ(b.menuShown, 0);

        // Below the button's left edge.
        RECT button = b.GetWindowRect();
        EXPECT_EQ(g_grab.menuRect.left, button.left) << style.file;
        EXPECT_EQ(g_grab.menuRect.top, button.bottom) << style.file;
        ASSERT_EQ(g_grab.items.size(), 9u);
        const std::vector<RECT>& item = g_grab.items;
        // Heights as measured: a menu line for items, half for the separator.
        const int line = std::max(GetSystemMetrics(SM_CYMENU), 15 + (style.flat ? 7 : 4));
        EXPECT_EQ(item[0].bottom - item[0].top, line) << style.file;
        EXPECT_EQ(item[2].bottom - item[2].top, line / 2) << style.file;

        const int column = style.flat ? 23 : 25;  // where the captions begin
        // Every caption is drawn, the Chinese one too.
        for (int i : {0, 1, 3, 4, 6, 7, 8})
            EXPECT_GT(CountInItem(item[i], column, item[i].right - item[i].left, Dark), 3) << style.file << i;
        EXPECT_GT(CountInItem(item[6], column, column + 40, Dark), 15) << style.file;  // 截图: dense strokes
        // The grayed item: its text, none of it dark.
        EXPECT_EQ(CountInItem(item[5], column, item[5].right - item[5].left, Dark), 0) << style.file;
        EXPECT_GT(CountInItem(item[5], column, item[5].right - item[5].left, Inked), 10) << style.file;
        // The accelerator text at the right.
        const int w = item[0].right - item[0].left;
        EXPECT_GT(CountInItem(item[0], w - 70, w - 16, Inked), 10) << style.file;
        // The separator's etched line.
        const int mid = (item[2].bottom - item[2].top) / 2;
        EXPECT_EQ(ItemPixel(item[2], w - 30, mid), GetSysColor(COLOR_BTNSHADOW)) << style.file;
        // The tick of "Recent files" and the bullet of "Single pane"; none on
        // "Four panes", which is not checked.
        auto isInk = [ink](COLORREF c) { return c == ink; };
        EXPECT_EQ(CountInItem(item[1], 0, column, isInk), 21) << style.file;
        EXPECT_GE(CountInItem(item[3], 0, column, isInk), 20) << style.file;
        EXPECT_EQ(CountInItem(item[4], 0, column, isInk), 0) << style.file;
        if (style.flat) {
            // The shaded image column, the window-coloured item, and the
            // check box framed in the highlight colour.
            EXPECT_EQ(ItemPixel(item[0], 3, 3), GetSysColor(COLOR_BTNFACE));
            EXPECT_EQ(ItemPixel(item[0], w - 5, 3), GetSysColor(COLOR_WINDOW));
            EXPECT_GT(CountInItem(item[1], 0, column, [highlight](COLORREF c) { return c == highlight; }), 40);
        } else {
            EXPECT_EQ(ItemPixel(item[0], 3, 3), GetSysColor(COLOR_MENU));
            EXPECT_EQ(CountInItem(item[1], 0, column, [highlight](COLORREF c) { return c == highlight; }), 0);
        }
        b.DestroyWindow();
    }
    DeleteObject(bullet);
}

TEST_F(DropDownMenu, LetterWithoutAnItemChoosesNothing)
{
    UseStyle(false);
    CImageButton b;
    ASSERT_TRUE(Make(b, BS_PUSHBUTTON, 611, 10, 10, Picture::Play));
    ASSERT_TRUE(b.menu.LoadMenu(kPlayMenu));
    b.menuOwner = host->m_hWnd;
    // No item has the letter: the menu stays open (the system's default)
    // until Escape closes it, and no command comes.
    SetTimer(b.m_hWnd, 78, 1200, PressEscape);
    EXPECT_EQ(OpenAndType(b, 'q'), 0u);
    EXPECT_NE(g_grab.shot, nullptr);
    EXPECT_TRUE(wintest::PumpUntil([] { return !FindWindowW(L"#32768", nullptr); }, 3000));
    EXPECT_TRUE(host->commands.empty());
    b.DestroyWindow();
}

TEST_F(DropDownMenu, GalleryOfButtonStates)
{
    struct Shown {
        CImageButton button;
        HWND label = nullptr;
    };
    std::vector<std::unique_ptr<Shown>> shown;
    auto add = [&](const wchar_t* name, DWORD style, Picture p, int x, int y, const wchar_t* caption = L"",
                   int width = 34) {
        shown.push_back(std::make_unique<Shown>());
        EXPECT_TRUE(Make(shown.back()->button, style, 620 + static_cast<int>(shown.size()), x, y, p, caption, width));
        shown.back()->label = Label(name, x, y + 34);
        return &shown.back()->button;
    };
    CImageButton* normal = add(L"normal", BS_PUSHBUTTON, Picture::Play, 16, 10);
    CImageButton* hover = add(L"hover", BS_PUSHBUTTON, Picture::Pause, 76, 10);
    CImageButton* pressed = add(L"pressed", BS_PUSHBUTTON, Picture::Stop, 136, 10);
    CImageButton* checked = add(L"checked", BS_AUTOCHECKBOX, Picture::Snapshot, 196, 10);
    CImageButton* disabled = add(L"disabled", BS_PUSHBUTTON, Picture::Play, 256, 10);
    CImageButton* framed = add(L"3-D", BS_PUSHBUTTON, Picture::Pause, 316, 10);
    CImageButton* caption = add(L"caption", BS_DEFPUSHBUTTON, Picture::Play, 16, 70, L"Play", 70);
    CImageButton* focused = add(L"3-D focus", BS_DEFPUSHBUTTON, Picture::Stop, 106, 70, L"Stop", 70);
    CImageButton* offCaption = add(L"disabled", BS_PUSHBUTTON, Picture::Play, 196, 70, L"Play", 70);
    hover->hover = 1;
    SendMessageW(pressed->m_hWnd, BM_SETSTATE, TRUE, 0);
    SendMessageW(checked->m_hWnd, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(disabled->m_hWnd, FALSE);
    EnableWindow(offCaption->m_hWnd, FALSE);
    framed->flat = 0;
    focused->flat = 0;
    SetFocus(focused->m_hWnd);
    normal->SetHintText(L"播放");
    caption->SetHintText(L"Play");
    RedrawWindow(host->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    wintest::Pump(100);

    wintest::ScreenCapture shot(host->m_hWnd);
    EXPECT_TRUE(shot.SaveBmp(ScreenshotPath("buttons.bmp")));
    auto at = [&](CImageButton* b, int x, int y) {
        POINT p = {x, y};
        MapWindowPoints(b->m_hWnd, host->m_hWnd, &p, 1);
        return shot.Pixel(p.x, p.y);
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(at(normal, 0, 0), face);     // flat: no frame
    EXPECT_EQ(at(hover, 0, 0), light);     // raised
    EXPECT_EQ(at(hover, 33, 29), shadow);
    EXPECT_EQ(at(pressed, 0, 0), shadow);  // sunken
    EXPECT_EQ(at(pressed, 33, 29), light);
    EXPECT_EQ(at(checked, 0, 0), shadow);
    EXPECT_EQ(at(framed, 0, 0), light);    // the 3-D border of a button that is not flat
    EXPECT_EQ(at(framed, 33, 29), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(at(focused, 0, 0), RGB(0, 0, 0));  // default: a black frame around it
    // Pressed shifts the image by one pixel: the stop square's corner.
    EXPECT_EQ(at(pressed, 7 + 5 + 1, 5 + 5 + 1), RGB(170, 40, 40));
    EXPECT_EQ(at(pressed, 7 + 5, 5 + 5), face);
    // The disabled image has none of its own colours.
    int green = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 34; ++x)
            green += at(disabled, x, y) == RGB(40, 150, 60);
    EXPECT_EQ(green, 0);
    EXPECT_EQ(at(normal, 7 + 8, 5 + 10), RGB(40, 150, 60));
    EXPECT_EQ(normal->tooltip.GetText(normal->m_hWnd), L"播放");

    for (auto& s : shown) {
        s->button.DestroyWindow();
        DestroyWindow(s->label);
    }
}
