#include "OwnerMenu.h"

#include "OwnerMenuRules.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace owner_menu;

TEST(OwnerMenuLayout, ImageOffsets)
{
    struct Case {
        int top, bottom, icon;
        int classic, flat;
    } cases[] = {
        {0, 19, 15, 0, 2},    // a 19-pixel item
        {40, 59, 15, 0, 2},   // wherever it is
        {0, 23, 15, 2, 4},
        {0, 20, 15, 0, 3},    // 2.5 rounds up
        {0, 10, 15, 0, 0},    // too low: 0, never negative
        {0, 26, 16, 3, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassicImageTop(c.top, c.bottom, c.icon), c.classic) << c.bottom - c.top;
        EXPECT_EQ(CentredOffset(c.bottom - c.top, c.icon), c.flat) << c.bottom - c.top;
    }
    EXPECT_EQ(CentredOffset(23, 16), 4);  // the flat column (16 + 7) around a 16-pixel box
    EXPECT_EQ(CentredOffset(23, 24), 0);
}

TEST(OwnerMenuLayout, ItemSizes)
{
    struct Case {
        bool separator, themed;
        int text, line, iconHeight;
        LONG width, height;
    } cases[] = {
        {true, false, 0, 19, 15, 0, 9},     // 19 / 2 and (15 + 4) / 2
        {true, true, 0, 19, 15, 0, 11},     // (15 + 7) / 2
        {true, false, 0, 30, 15, 0, 15},
        {false, false, 100, 19, 15, 133, 19},  // text + 2 x 16 + 1
        {false, true, 100, 19, 15, 131, 22},   // text + 16 + 7 + 8; 15 + 7
        {false, false, 100, 25, 15, 133, 25},
        {false, false, 0, 19, 15, 33, 19},
    };
    for (const Case& c : cases) {
        SIZE s = MenuItemSize(c.separator, c.text, c.line, 16, c.iconHeight, c.themed);
        EXPECT_EQ(s.cx, c.width) << c.separator << c.themed << c.line;
        EXPECT_EQ(s.cy, c.height) << c.separator << c.themed << c.line;
    }
}

TEST(OwnerMenuLayout, AcceleratorSplit)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* label;
        const wchar_t* accelerator;
        bool tab;
    } cases[] = {
        {L"&Open", L"&Open", L"", false},
        {L"&Open\tCtrl+O", L"&Open", L"Ctrl+O", true},
        {L"a\tb\tc", L"a", L"c", true},  // label before the first tab, accelerator after the last
        {L"\tF1", L"", L"F1", true},
        {L"x\t", L"x", L"", true},
        {L"", L"", L"", false},
    };
    for (const Case& c : cases) {
        AcceleratorSplit s = SplitAccelerator(c.text);
        EXPECT_EQ(s.label, c.label);
        EXPECT_EQ(s.accelerator, c.accelerator);
        EXPECT_EQ(s.hasTab, c.tab);
    }
}

namespace {

const UINT kOpen = 1, kChecked = 2, kRadio = 3, kGrayed = 4, kPicture = 5;

// A memory DC of the given size, for drawing items into.
class Canvas {
public:
    Canvas(int w, int h) : width(w), height(h)
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        CDC(dc).FillSolidRect(0, 0, w, h, RGB(1, 2, 3));
        // The menu's DC comes with the menu font selected.
        font = CreateMenuFont();
        oldFont = SelectObject(dc, font);
    }
    ~Canvas()
    {
        SelectObject(dc, oldFont);
        DeleteObject(font);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    int Count(int x0, int y0, int x1, int y1, COLORREF c) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += At(x, y) == c;
        return n;
    }
    // Pixels of text in colour on ground: smoothed text has few pixels of
    // its exact colour, but its pixels lean from the ground towards it.
    int CountText(int x0, int y0, int x1, int y1, COLORREF text, COLORREF ground) const
    {
        auto distance = [](COLORREF a, COLORREF b) {
            return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                   std::abs(GetBValue(a) - GetBValue(b));
        };
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                COLORREF p = At(x, y);
                n += distance(p, ground) > 40 && distance(p, text) < distance(ground, text);
            }
        return n;
    }
    std::vector<COLORREF> Pixels() const
    {
        std::vector<COLORREF> p;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                p.push_back(At(x, y));
        return p;
    }
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    HFONT font;
    HGDIOBJ oldFont;
};

// A popup of owner-drawn items, drawn in the classic or the flat style.
class MenuDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedVersion = COwnerMenu::WindowsVersion;
        ASSERT_TRUE(menu.Attach(CreatePopupMenu()));
        menu.AppendItem(L"&Open\tCtrl+O", 0, kOpen);
        menu.AppendItem(nullptr, 0, 0);
        menu.AppendItem(L"&Checked", 0, kChecked);
        menu.AppendItem(L"&Radio", 0, kRadio);
        menu.AppendItem(L"&Grayed\tF9", 0, kGrayed);
        menu.AppendItem(L"&Picture", 0, kPicture);
        HDC screen = GetDC(nullptr);
        bullet = CreateCompatibleBitmap(screen, 13, 13);
        ReleaseDC(nullptr, screen);
        SetMenuItemBitmaps(menu.GetSafeHmenu(), kRadio, MF_BYCOMMAND, nullptr, bullet);
    }
    void TearDown() override
    {
        menu.DestroyMenu();
        DeleteObject(bullet);
        COwnerMenu::WindowsVersion = savedVersion;
        COwnerMenu::ClassicThemeProbed = false;
    }
    void UseStyle(bool flat)
    {
        COwnerMenu::WindowsVersion = flat ? 7 : 1;
        COwnerMenu::ClassicThemeProbed = true;
        COwnerMenu::ClassicThemeResult = flat ? FALSE : TRUE;
    }
    // Draws item position pos as state into the canvas at (0, 0)-(width, 19).
    void Draw(Canvas& c, int pos, UINT state, int height = 19)
    {
        DRAWITEMSTRUCT di = {};
        di.CtlType = ODT_MENU;
        di.itemID = GetMenuItemID(menu.GetSafeHmenu(), pos);
        di.itemAction = ODA_DRAWENTIRE;
        di.itemState = state;
        di.hwndItem = reinterpret_cast<HWND>(menu.GetSafeHmenu());
        di.hDC = c.dc;
        di.rcItem = {0, 0, c.width, height};
        di.itemData = reinterpret_cast<ULONG_PTR>(menu.items[pos]);
        EXPECT_TRUE(menu.DrawMenuItem(&di));
    }
    COLORREF Sys(int index) const { return GetSysColor(index); }

    COwnerMenu menu;
    HBITMAP bullet = nullptr;
    int savedVersion = 1;
};

}  // namespace

TEST_F(MenuDrawing, MeasuresInTheMenuFontWhateverTheVersion)
{
    HFONT font = CreateMenuFont();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE text = {};
    GetTextExtentPoint32W(dc, L"&Open\tCtrl+O", 12, &text);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    const int line = GetSystemMetrics(SM_CYMENU);
    for (bool flat : {false, true}) {
        UseStyle(flat);
        MEASUREITEMSTRUCT mi = {};
        mi.CtlType = ODT_MENU;
        mi.itemData = reinterpret_cast<ULONG_PTR>(menu.items[0]);
        ASSERT_TRUE(menu.MeasureMenuItem(&mi));
        EXPECT_EQ(static_cast<LONG>(mi.itemWidth), flat ? text.cx + 16 + 7 + 8 : text.cx + 2 * 16 + 1) << flat;
        EXPECT_EQ(static_cast<int>(mi.itemHeight), std::max(line, 15 + (flat ? 7 : 4))) << flat;
        mi.itemData = reinterpret_cast<ULONG_PTR>(menu.items[1]);
        ASSERT_TRUE(menu.MeasureMenuItem(&mi));
        EXPECT_EQ(mi.itemWidth, 0u);
        EXPECT_EQ(static_cast<int>(mi.itemHeight), std::max(line / 2, (15 + (flat ? 7 : 4)) / 2)) << flat;
    }
    // Items of other menus are left to their own menus.
    MEASUREITEMSTRUCT other = {};
    other.itemData = 12345;
    EXPECT_FALSE(menu.MeasureMenuItem(&other));
}

TEST_F(MenuDrawing, ClassicItems)
{
    UseStyle(false);
    const COLORREF back = Sys(COLOR_MENU), lit = Sys(COLOR_HIGHLIGHT);
    {
        Canvas c(150, 19);
        Draw(c, 0, 0);
        EXPECT_EQ(c.At(100, 1), back);
        EXPECT_EQ(c.At(0, 0), back);
        // The label from the image column on, the accelerator at the right
        // (left of the last icon width).
        EXPECT_GT(c.CountText(25, 0, 60, 19, Sys(COLOR_MENUTEXT), back), 10);
        EXPECT_GT(c.CountText(90, 0, 150 - 16, 19, Sys(COLOR_MENUTEXT), back), 10);
        EXPECT_EQ(c.Count(150 - 16, 1, 150, 18, back), 16 * 17);
        EXPECT_EQ(c.Count(0, 1, 25, 18, back), 25 * 17);
    }
    {
        Canvas c(150, 19);
        Draw(c, 0, ODS_SELECTED);
        EXPECT_EQ(c.At(0, 0), lit);  // no image, not checked: the whole item
        EXPECT_EQ(c.At(100, 1), lit);
        EXPECT_GT(c.CountText(25, 0, 60, 19, Sys(COLOR_HIGHLIGHTTEXT), lit), 10);
    }
    {
        // A grayed, selected item: its text in the menu colour on the highlight.
        Canvas c(150, 19);
        Draw(c, 4, ODS_SELECTED | ODS_GRAYED);
        EXPECT_EQ(c.At(100, 1), lit);
        EXPECT_GT(c.CountText(25, 0, 150, 19, back, lit), 10);
    }
    {
        // Grayed, not selected: embossed.
        Canvas c(150, 19);
        Draw(c, 4, ODS_GRAYED);
        EXPECT_GT(c.CountText(25, 0, 150, 19, Sys(COLOR_GRAYTEXT), back), 10);
        int darkest = 255;
        for (int y = 0; y < 19; ++y)
            for (int x = 25; x < 150; ++x)
                darkest = std::min<int>(darkest, GetGValue(c.At(x, y)));
        EXPECT_GE(darkest, GetGValue(Sys(COLOR_GRAYTEXT)) - 8);  // nothing in the text colour
        // The lit copy shows where the scheme's highlight differs from the
        // menu (Wine's menus are white, like its highlight).
        if (!wintest::Near(Sys(COLOR_BTNHIGHLIGHT), back, 40)) {
            EXPECT_GT(c.CountText(25, 0, 150, 19, Sys(COLOR_BTNHIGHLIGHT), back), 5);
        }
    }
    {
        // The separator: an etched line half way down.
        Canvas c(150, 9);
        Draw(c, 1, 0, 9);
        EXPECT_EQ(c.At(50, 4), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(c.At(50, 5), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(c.At(50, 2), back);
    }
    {
        // Checked: the check box with a tick at left + 1 + 4; selected, the
        // highlight starts past the image column.
        Canvas c(150, 19);
        Draw(c, 2, ODS_CHECKED | ODS_SELECTED);
        EXPECT_EQ(c.At(100, 1), lit);
        EXPECT_NE(c.At(2, 10), lit);
        EXPECT_EQ(c.Count(1 + 4, 0, 1 + 4 + 7, 19, Sys(COLOR_MENUTEXT)), 21);
        // The radio item: a bullet at left + 1 + 5.
        Canvas r(150, 19);
        Draw(r, 3, ODS_CHECKED);
        EXPECT_EQ(r.Count(0, 0, 1 + 5, 19, Sys(COLOR_MENUTEXT)), 0);
        EXPECT_GE(r.Count(1 + 5, 0, 1 + 11, 19, Sys(COLOR_MENUTEXT)), 20);
    }
}

TEST_F(MenuDrawing, FlatItems)
{
    UseStyle(true);
    const COLORREF window = Sys(COLOR_WINDOW), face = Sys(COLOR_BTNFACE), lit = Sys(COLOR_HIGHLIGHT);
    {
        Canvas c(150, 19);
        Draw(c, 0, 0);
        EXPECT_EQ(c.At(5, 9), face);  // the image column, 16 + 7 wide
        EXPECT_EQ(c.At(22, 9), face);
        EXPECT_EQ(c.At(23, 9), window);
        EXPECT_EQ(c.At(100, 1), window);
        EXPECT_GT(c.CountText(31, 0, 70, 19, Sys(COLOR_MENUTEXT), window), 10);
        EXPECT_GT(c.CountText(90, 0, 150 - 16, 19, Sys(COLOR_MENUTEXT), window), 10);
    }
    {
        Canvas c(150, 19);
        Draw(c, 0, ODS_SELECTED);
        EXPECT_EQ(c.At(0, 0), lit);
        EXPECT_EQ(c.At(149, 18), lit);
        EXPECT_EQ(c.At(5, 9), BlendTowardWhite(lit, 0.7));
        EXPECT_EQ(c.At(100, 1), BlendTowardWhite(lit, 0.7));
    }
    {
        // A grayed item looks the same selected or not.
        Canvas a(150, 19), b(150, 19);
        Draw(a, 4, ODS_GRAYED);
        Draw(b, 4, ODS_GRAYED | ODS_SELECTED);
        EXPECT_EQ(a.Pixels(), b.Pixels());
        EXPECT_GT(a.CountText(31, 0, 150, 19, Sys(COLOR_GRAYTEXT), window), 10);
        EXPECT_EQ(a.At(100, 1), window);
    }
    {
        Canvas c(150, 9);
        Draw(c, 1, 0, 9);
        EXPECT_EQ(c.At(5, 4), face);
        EXPECT_EQ(c.At(27, 4), window);  // the line starts 7 past the column
        EXPECT_EQ(c.At(40, 4), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(c.At(40, 5), Sys(COLOR_BTNHIGHLIGHT));
    }
    {
        // The 16 x 16 check box centred in the column: (4, 2).
        Canvas c(150, 20);
        Draw(c, 2, ODS_CHECKED, 20);
        EXPECT_EQ(c.At(4, 2), lit);
        EXPECT_EQ(c.At(19, 17), lit);
        EXPECT_EQ(c.At(6, 4), BlendTowardWhite(lit, 0.85));
        EXPECT_EQ(c.Count(4 + 5, 0, 4 + 12, 20, Sys(COLOR_MENUTEXT)), 21);
    }
}

TEST_F(MenuDrawing, ItemImagesAndMissingOnes)
{
    const COLORREF ink = RGB(0, 0, 160), key = RGB(255, 0, 255);
    // Two 16 x 15 images: a square on the key colour.
    HDC screen = GetDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(screen, 32, 15);
    ReleaseDC(nullptr, screen);
    {
        Canvas paint(1, 1);
        HGDIOBJ old = SelectObject(paint.dc, strip);
        CDC d(paint.dc);
        d.FillSolidRect(0, 0, 32, 15, key);
        d.FillSolidRect(4, 4, 8, 8, ink);
        d.FillSolidRect(20, 4, 8, 8, ink);
        SelectObject(paint.dc, old);
    }
    COwnerMenuData* picture = menu.items[5];
    picture->images = new CImageList;
    ASSERT_TRUE(picture->images->Create(16, 15, ILC_COLOR24 | ILC_MASK, 2, 0));
    picture->images->Add(strip, key);
    DeleteObject(strip);
    picture->imageId = 0;
    picture->imageOffset = 0;

    for (bool flat : {false, true}) {
        UseStyle(flat);
        Canvas c(150, 19);
        Draw(c, 5, 0);
        EXPECT_GT(c.Count(0, 0, 25, 19, ink), 40) << flat;
        // Grayed: an embossed shape, none of the image's colour.
        Canvas g(150, 19);
        Draw(g, 5, ODS_GRAYED);
        EXPECT_EQ(g.Count(0, 0, 25, 19, ink), 0) << flat;
        EXPECT_GT(g.Count(0, 0, 25, 19, Sys(COLOR_BTNSHADOW)), 40) << flat;
    }

    // No list at all, or a list without the image: the item is drawn
    // without an image, and nothing is left behind.
    auto drawsNoImage = [&](const char* what) {
        const DWORD before = wintest::GdiObjectCount();
        for (bool flat : {false, true})
            for (UINT state : {0u, static_cast<UINT>(ODS_GRAYED), static_cast<UINT>(ODS_SELECTED)}) {
                UseStyle(flat);
                Canvas c(150, 19);
                Draw(c, 5, state);
                EXPECT_EQ(c.Count(0, 0, 25, 19, ink), 0) << what << flat << state;
                // The caption is still there.
                EXPECT_GT(c.Count(25, 1, 150, 18, c.At(149, 9)), 0) << what << flat << state;
                EXPECT_LT(c.Count(25, 1, 150, 18, c.At(149, 9)), 125 * 17 - 10) << what << flat << state;
            }
    EXPECT_EQ(wintest::GdiObjectCount(), before) << what;
    };
    delete picture->images;
    picture->images = nullptr;
    drawsNoImage("no list");
    picture->images = new CImageList;
    ASSERT_TRUE(picture->images->Create(16, 15, ILC_COLOR24, 1, 0));
    picture->imageOffset = 7;
    drawsNoImage("no such image");
}

TEST_F(MenuDrawing, RepaintsHoldNoGdiObjects)
{
    const DWORD before = wintest::GdiObjectCount();
    for (int i = 0; i < 500; ++i) {
        UseStyle(i % 2 == 0);
        Canvas c(150, 19);
        Draw(c, i % 6, (i % 3 == 0 ? ODS_SELECTED : 0) | (i % 4 == 0 ? ODS_CHECKED : 0) |
                           (i % 5 == 0 ? ODS_GRAYED : 0));
    }
    EXPECT_EQ(wintest::GdiObjectCount(), before);
}
